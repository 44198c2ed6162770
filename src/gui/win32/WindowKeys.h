#pragma once

#include "gui/win32/WindowsApi.h"

namespace velmora {

enum class WindowKey { None, SaveFrame, ToggleReadout };

// The main window's own keys, seen by the message loop before the controls:
// Ctrl+S saves the frame on the screen; M shows or hides the measurements,
// except in a box the user types into, where it is a letter. None for any
// other message, and for messages to other windows than `window` and its
// children.
WindowKey WindowKeyOf(const MSG& message, HWND window);

}  // namespace velmora
