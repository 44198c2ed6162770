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
    : ChildControl(context, LabelParams(placement)), text_(WidenLatin1(placement.text)) {
    DropMargins();
}

// An edit takes its font's margins with every new font, so a new DPI's font
// brings them back.
void LabelControl::Rescale(const ChildScale& scale) {
    ChildControl::Rescale(scale);
    DropMargins();
}

// The boxes were sized for the text alone; an edit's own margins would cut it.
void LabelControl::DropMargins() {
    SendMessageW(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

int LabelControl::TextWidth(int) const { return TextExtent(text_); }

}  // namespace velmora
