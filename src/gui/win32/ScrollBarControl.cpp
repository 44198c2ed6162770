#include "gui/win32/ScrollBarControl.h"

namespace velmora {
namespace {

ChildParams BarParams(bool vertical) {
    const DWORD style = WS_VISIBLE | static_cast<DWORD>(vertical ? SBS_VERT : SBS_HORZ);
    return ChildParams{L"SCROLLBAR", L"", style, 0, 0, 0, 0, 0};
}

}  // namespace

ScrollBarControl::ScrollBarControl(ScrollBar& model, bool vertical, const wchar_t* hint,
                                   const ChildContext& context)
    : ChildControl(context, BarParams(vertical)), model_(model), dispatch_(context.dispatch) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, model_.Min(), model_.Max(), 0, 0, 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, FALSE);
    Mirror();
    model_.onChanged = [this] { Mirror(); };
    AddHint(hint, context);
}

ScrollBarControl::~ScrollBarControl() {
    model_.onChanged = nullptr;
    if (tooltip_ != nullptr && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void ScrollBarControl::AddHint(const wchar_t* hint, const ChildContext& context) {
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, context.parent, nullptr,
                               context.instance, nullptr);
    if (tooltip_ == nullptr) return;  // a missing hint is no reason to stop
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = context.parent;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    tool.lpszText = const_cast<wchar_t*>(hint);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The step of an arrow and of a page is one position, as the bar was designed.
int ScrollBarControl::Target(WORD request) const {
    const int position = model_.Position();
    switch (request) {
        case SB_LINEUP:
        case SB_PAGEUP:
            return position > model_.Min() ? position - 1 : position;
        case SB_LINEDOWN:
        case SB_PAGEDOWN:
            return position < model_.Max() ? position + 1 : position;
        case SB_TOP:
            return model_.Min();
        case SB_BOTTOM:
            return model_.Max();
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
            return GetScrollInfo(hwnd_, SB_CTL, &info) ? info.nTrackPos : position;
        }
        default:
            return position;
    }
}

void ScrollBarControl::OnScroll(WORD request) {
    const int target = Target(request);
    if (target != model_.Position()) dispatch_([this, target] { model_.SetPosition(target); });
    Mirror();
}

void ScrollBarControl::Mirror() {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, model_.Position(), 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
}

}  // namespace velmora
