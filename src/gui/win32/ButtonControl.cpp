#include "gui/win32/ButtonControl.h"

#include <algorithm>

#include "gui/win32/Latin1Text.h"

namespace velmora {
namespace {

// A push button draws its caption within a frame of 2 pixels and a pixel of
// margin inside it, on either side.
constexpr int kCaptionInset = 3;

bool Wraps(const ControlPlacement& p) { return p.height >= 2 * kListRowHeight; }

ChildParams ButtonParams(const ControlPlacement& p) {
    DWORD style = WS_VISIBLE | BS_PUSHBUTTON;
    if (Wraps(p)) style |= BS_MULTILINE;
    if (p.name != "RefreshComm") style |= WS_TABSTOP;
    return ChildParams{L"BUTTON", WidenLatin1(p.text), style, 0, p.left, p.top, p.width, p.height};
}

}  // namespace

ButtonControl::ButtonControl(const ControlPlacement& placement, std::function<void()> onClick,
                             const ChildContext& context)
    : ChildControl(context, ButtonParams(placement)),
      text_(WidenLatin1(placement.text)),
      wraps_(Wraps(placement)),
      onClick_(std::move(onClick)),
      dispatch_(context.dispatch) {}

void ButtonControl::OnCommand(WORD code) {
    if (code == BN_CLICKED) dispatch_(onClick_);
}

int ButtonControl::TextWidth(int) const {
    int widest = 0;
    if (!wraps_) {
        widest = TextExtent(text_);
    } else {
        for (std::size_t at = 0; at < text_.size();) {
            const std::size_t end = std::min(text_.find(L' ', at), text_.size());
            widest = std::max(widest, TextExtent(std::wstring_view(text_).substr(at, end - at)));
            at = end + 1;
        }
    }
    return widest + 2 * kCaptionInset;
}

}  // namespace velmora
