#pragma once

#include <string>
#include <string_view>

#include "controls/Dispatcher.h"
#include "controls/DpiScale.h"
#include "gui/win32/WindowsApi.h"

namespace velmora {

// What every child control is created with: its parent window, the fonts, the
// route of a user's action into the form, and the control identifier that
// the parent's WM_COMMAND names it by.
struct ChildContext {
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    HFONT font = nullptr;      // Tahoma, 11 design pixels (WindowFonts)
    HFONT memoFont = nullptr;  // Courier, 13 design pixels
    Dispatcher dispatch;
    int id = 0;
};

// What a child's look follows when the window's DPI is known or changes.
struct ChildScale {
    int dpi = kDesignDpi;
    HFONT font = nullptr;
    HFONT memoFont = nullptr;
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
    // Moves the control to a place in its parent's client area.
    void Place(int left, int top, int width, int height);
    // Takes the fonts (and sizes inside the control) of a new DPI; the
    // parent places the control anew.
    virtual void Rescale(const ChildScale& scale);
    // The width the control needs for its fixed text at `dpi` in its font,
    // with what it draws around the text, in device pixels; 0 for one
    // without such a text. The window fits the control's box to it.
    virtual int TextWidth(int /*dpi*/) const { return 0; }

  protected:
    // The width of `text` in the control's font (GetTextExtentPoint32W).
    int TextExtent(std::wstring_view text) const;

    HWND hwnd_;
};

}  // namespace velmora
