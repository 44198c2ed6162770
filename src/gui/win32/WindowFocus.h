#pragma once

#include "gui/win32/WindowsApi.h"

namespace velmora {

// The keyboard focus of a top-level window with child controls: it stays
// where the user left it when another window (or the error box) takes the
// activation, and comes back with it; at first it goes to the first tab stop.
// Tab from a multi-line edit (which asks for every key) moves as a dialog
// would move it.
class WindowFocus {
  public:
    explicit WindowFocus(HWND window) : window_(window) {}

    // WM_ACTIVATE, WM_SETFOCUS and WM_NEXTDLGCTL; false for other messages.
    bool Take(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void OnActivate(WPARAM state);
    void Restore();
    // The next (wParam 0) or previous tab stop, or with lParam set the
    // control in wParam.
    void OnNextDlgCtl(WPARAM wParam, LPARAM lParam);

    HWND window_;
    HWND focus_ = nullptr;  // the control that had the focus when the window lost it
};

}  // namespace velmora
