#pragma once

#include <string>

#include "gui/win32/WindowsApi.h"

namespace velmora {

// The main window's style: a top-level window whose children (the controls)
// are left out of its painting, and which Tab moves through as a dialog.
inline constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
inline constexpr DWORD kMainWindowExStyle = WS_EX_CONTROLPARENT;

// Registers the main window's class with the program's icon (a second
// registration fails harmlessly) and creates a window of it at the design
// place, `outer` in size, captioned `caption` (Latin-1); its WM_NCCREATE
// carries `self`. Throws std::runtime_error when it cannot.
HWND CreateMainWindow(HINSTANCE instance, WNDPROC procedure, const std::string& caption, SIZE outer,
                      void* self);

}  // namespace velmora
