#include "gui/win32/ButtonControl.h"

#include "gui/win32/Latin1Text.h"

namespace velmora {
namespace {

ChildParams ButtonParams(const ControlPlacement& p) {
    DWORD style = WS_VISIBLE | BS_PUSHBUTTON;
    if (p.height >= 2 * kListRowHeight) style |= BS_MULTILINE;
    if (p.name != "RefreshComm") style |= WS_TABSTOP;
    return ChildParams{L"BUTTON", WidenLatin1(p.text), style, 0, p.left, p.top, p.width, p.height};
}

}  // namespace

ButtonControl::ButtonControl(const ControlPlacement& placement, std::function<void()> onClick,
                             const ChildContext& context)
    : ChildControl(context, ButtonParams(placement)),
      onClick_(std::move(onClick)),
      dispatch_(context.dispatch) {}

void ButtonControl::OnCommand(WORD code) {
    if (code == BN_CLICKED) dispatch_(onClick_);
}

}  // namespace velmora
