#pragma once

// The Win32 headers, without the macros that would rename our own names:
// windows.h maps TextOut to TextOutW, which is also a Canvas operation.
#include <windows.h>
// windows.h first: the other system headers rely on its types.
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <windowsx.h>

#undef TextOut
