#pragma once

#include <string>

#include "controls/Dispatcher.h"
#include "gui/win32/WindowsApi.h"

namespace velmora {

// What every child control is created with: its parent window, the fonts, the
// route of a user's action into the form, and the control identifier that
// the parent's WM_COMMAND names it by.
struct ChildContext {
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    HFONT font = nullptr;      // Tahoma, 11 pixels
    HFONT memoFont = nullptr;  // Courier, 13 pixels
    Dispatcher dispatch;
    int id = 0;
};

// Where a child window goes and what it is.
struct ChildParams {
    const wchar_t* windowClass;
    std::wstring text;
    DWORD style;
    DWORD exStyle;
    int left, top, width, height;
};

// One child window of the main window that mirrors a control model. The
// parent forwards the notifications addressed to it. UI thread only.
class ChildControl {
  public:
    ChildControl(const ChildContext& context, const ChildParams& params);
    virtual ~ChildControl();
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;

    HWND Handle() const { return hwnd_; }
    // A WM_COMMAND notification code from this control.
    virtual void OnCommand(WORD) {}
    // A WM_HSCROLL or WM_VSCROLL request from this control.
    virtual void OnScroll(WORD) {}

  protected:
    HWND hwnd_;
};

}  // namespace velmora
