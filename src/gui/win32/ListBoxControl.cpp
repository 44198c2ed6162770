#include "gui/win32/ListBoxControl.h"

#include <algorithm>

#include "controls/DpiScale.h"
#include "gui/win32/Latin1Text.h"

namespace velmora {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// A list draws an entry a pixel in from either side of its row.
constexpr int kEntryInset = 1;

ChildParams ListParams(const ControlPlacement& p) {
    return ChildParams{
        L"LISTBOX",
        L"",
        WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
        0,
        p.left,
        p.top,
        p.width,
        p.height};
}

}  // namespace

ListBoxControl::ListBoxControl(const ControlPlacement& placement, ListBox& model,
                               const ChildContext& context)
    : ChildControl(context, ListParams(placement)), model_(model), input_(model, context.dispatch) {
    SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, MAKELPARAM(kListRowHeight, 0));
    SetWindowSubclass(hwnd_, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    Mirror();
    model_.onChanged = [this] { Mirror(); };
}

ListBoxControl::~ListBoxControl() {
    model_.onChanged = nullptr;
    RemoveWindowSubclass(hwnd_, Subclass, kSubclassId);
}

void ListBoxControl::Rescale(const ChildScale& scale) {
    ChildControl::Rescale(scale);
    const int rowHeight = ToDevicePixels(kListRowHeight, scale.dpi);
    SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, MAKELPARAM(rowHeight, 0));
    Mirror();  // the top row in view again at the new height
}

int ListBoxControl::TextWidth(int) const {
    int widest = 0;
    for (const std::string& entry : shown_)
        widest = std::max(widest, TextExtent(WidenLatin1(entry)));
    if (widest == 0) return 0;
    RECT outer{};
    RECT client{};
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    return widest + 2 * kEntryInset + static_cast<int>(outer.right - outer.left - client.right);
}

LRESULT CALLBACK ListBoxControl::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    if (reinterpret_cast<ListBoxControl*>(self)->Take(message, wParam, lParam)) return 0;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

bool ListBoxControl::Take(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
            return TakeMouse(message, lParam);
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return false;
        case WM_MOUSEWHEEL:
            input_.Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return true;
        case WM_KEYDOWN:
            return TakeKey(wParam);
        case WM_CHAR:  // no selection by typing an entry's first letter
            return true;
        case WM_VSCROLL:
            TakeScroll(LOWORD(wParam));
            return true;
        default:
            return false;
    }
}

// The press takes the focus; the release over the list is the click.
bool ListBoxControl::TakeMouse(UINT message, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) return pressed_;
    if (message != WM_LBUTTONUP) {
        SetFocus(hwnd_);
        SetCapture(hwnd_);
        pressed_ = true;
        return true;
    }
    if (!pressed_) return false;
    pressed_ = false;
    ReleaseCapture();
    RECT client{};
    GetClientRect(hwnd_, &client);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (PtInRect(&client, at)) input_.RowClick();
    return true;
}

bool ListBoxControl::TakeKey(WPARAM key) {
    switch (key) {
        case VK_UP:
        case VK_LEFT:
        case VK_PRIOR:
            input_.Key(ListKey::Previous);
            return true;
        case VK_DOWN:
        case VK_RIGHT:
        case VK_NEXT:
            input_.Key(ListKey::Next);
            return true;
        case VK_HOME:
            input_.Key(ListKey::First);
            return true;
        case VK_END:
            input_.Key(ListKey::Last);
            return true;
        default:
            return false;
    }
}

void ListBoxControl::TakeScroll(WORD request) {
    switch (request) {
        case SB_LINEUP:
        case SB_PAGEUP:
            input_.Scroll(-1);
            break;
        case SB_LINEDOWN:
        case SB_PAGEDOWN:
            input_.Scroll(1);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            if (GetScrollInfo(hwnd_, SB_VERT, &info)) input_.ScrollTo(info.nTrackPos);
            break;
        }
        case SB_TOP:
            input_.ScrollTo(0);
            break;
        case SB_BOTTOM:
            input_.ScrollTo(model_.Count() - 1);
            break;
        default:
            break;
    }
}

void ListBoxControl::MirrorItems() {
    const int count = model_.Count();
    bool same = static_cast<int>(shown_.size()) == count;
    for (int i = 0; same && i < count; ++i)
        same = shown_[static_cast<std::size_t>(i)] == model_.Item(i);
    if (same) return;
    SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
    shown_.clear();
    for (int i = 0; i < count; ++i) {
        const std::wstring text = WidenLatin1(model_.Item(i));
        SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        shown_.push_back(model_.Item(i));
    }
}

// The entry selected is marked; the top row is the model's, which may show
// another entry than the selected one while the user scrolls.
void ListBoxControl::Mirror() {
    MirrorItems();
    const int selected = model_.ItemIndex();
    const bool inList = selected >= 0 && selected < model_.Count();
    SendMessageW(hwnd_, LB_SETCURSEL,
                 inList ? static_cast<WPARAM>(selected) : static_cast<WPARAM>(-1), 0);
    if (model_.Count() > 0)
        SendMessageW(hwnd_, LB_SETTOPINDEX, static_cast<WPARAM>(model_.TopIndex()), 0);
}

}  // namespace velmora
