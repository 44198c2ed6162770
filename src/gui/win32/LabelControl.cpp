#include "gui/win32/LabelControl.h"

#include "gui/win32/Latin1Text.h"

namespace velmora {
namespace {

ChildParams LabelParams(const ControlPlacement& p) {
    DWORD style = WS_VISIBLE | ES_READONLY | ES_AUTOHSCROLL;
    style |= p.align == Align::Centre ? ES_CENTER : ES_LEFT;
    if (!p.enabled) style |= WS_DISABLED;
    return ChildParams{L"EDIT", WidenLatin1(p.text), style, 0, p.left, p.top, p.width, p.height};
}

}  // namespace

LabelControl::LabelControl(const ControlPlacement& placement, const ChildContext& context)
    : ChildControl(context, LabelParams(placement)) {
    // The boxes were sized for the text alone; an edit's own margins would cut it.
    SendMessageW(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

}  // namespace velmora
