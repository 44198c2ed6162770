#include "gui/win32/CheckBoxControl.h"

#include "gui/win32/Latin1Text.h"
#include "gui/win32/MonitorDpi.h"

namespace velmora {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// A check box draws its box as wide as a menu's check mark, then a gap of
// half a digit's width, then its caption with a pixel of margin either side.
constexpr int kCaptionMargin = 1;

}  // namespace

CheckBoxControl::CheckBoxControl(const ControlPlacement& p, CheckBox& model,
                                 const ChildContext& context)
    : ChildControl(context, ChildParams{L"BUTTON", WidenLatin1(p.text),
                                        WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 0, p.left, p.top,
                                        p.width, p.height}),
      model_(model),
      dispatch_(context.dispatch),
      text_(WidenLatin1(p.text)) {
    if (text_.empty())
        SetWindowSubclass(hwnd_, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    Mirror();
    model_.onChanged = [this] { Mirror(); };
}

CheckBoxControl::~CheckBoxControl() {
    model_.onChanged = nullptr;
    if (text_.empty()) RemoveWindowSubclass(hwnd_, Subclass, kSubclassId);
}

void CheckBoxControl::OnCommand(WORD code) {
    if (code != BN_CLICKED) return;
    dispatch_([this] { model_.UserClick(); });
    Mirror();  // the model has the last word, also when its handler threw
}

int CheckBoxControl::TextWidth(int dpi) const {
    if (text_.empty()) return 0;
    return SystemMetricForDpi(SM_CXMENUCHECK, dpi) + TextExtent(L"0") / 2 + TextExtent(text_) +
           2 * kCaptionMargin;
}

// The button paints itself whole, erasing any earlier mark; the mark goes on
// top. A change of focus, of the keyboard cues or of the tick paints it all
// again: the button's own drawing of those has no caption to draw around,
// or paints over part of the mark.
LRESULT CALLBACK CheckBoxControl::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: {
            const HDC given = reinterpret_cast<HDC>(wParam);
            const HDC dc = given != nullptr ? given : GetDC(hwnd);
            reinterpret_cast<const CheckBoxControl*>(self)->DrawFocus(dc);
            if (given == nullptr) ReleaseDC(hwnd, dc);
            break;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
        case WM_ENABLE:
        case BM_SETCHECK:  // these repaint the box alone, over the mark's left side
        case BM_SETSTATE:
            InvalidateRect(hwnd, nullptr, TRUE);
            break;
        default:
            break;
    }
    return result;
}

// As every control draws it: only while the window shows keyboard cues
// (from the first key that moves the focus on).
void CheckBoxControl::DrawFocus(HDC dc) const {
    if (dc == nullptr || GetFocus() != hwnd_) return;
    if ((SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    DrawFocusRect(dc, &client);
}

void CheckBoxControl::Mirror() {
    SendMessageW(hwnd_, BM_SETCHECK, model_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace velmora
