#include "platform/win32/window/ButtonControl.h"

#include "platform/win32/window/Latin1Text.h"

namespace velmora {
namespace {

ChildSpec ButtonSpec(const ControlPlacement& p) {
    DWORD style = WS_VISIBLE | BS_PUSHBUTTON;
    if (p.height >= 2 * kListRowHeight) style |= BS_MULTILINE;
    if (p.name != "RefreshComm") style |= WS_TABSTOP;
    return ChildSpec{L"BUTTON", WidenLatin1(p.text), style, 0, p.left, p.top, p.width, p.height};
}

}  // namespace

ButtonControl::ButtonControl(const ControlPlacement& placement, std::function<void()> onClick,
                             const ChildContext& context)
    : ChildControl(context, ButtonSpec(placement)),
      onClick_(std::move(onClick)),
      dispatch_(context.dispatch) {}

void ButtonControl::OnCommand(WORD code) {
    if (code == BN_CLICKED) dispatch_(onClick_);
}

}  // namespace velmora
