#include "gui/win32/CheckBoxControl.h"

#include "gui/win32/Latin1Text.h"

namespace velmora {

CheckBoxControl::CheckBoxControl(const ControlPlacement& p, CheckBox& model,
                                 const ChildContext& context)
    : ChildControl(context, ChildParams{L"BUTTON", WidenLatin1(p.text),
                                        WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, 0, p.left, p.top,
                                        p.width, p.height}),
      model_(model),
      dispatch_(context.dispatch) {
    Mirror();
    model_.onChanged = [this] { Mirror(); };
}

CheckBoxControl::~CheckBoxControl() { model_.onChanged = nullptr; }

void CheckBoxControl::OnCommand(WORD code) {
    if (code != BN_CLICKED) return;
    dispatch_([this] { model_.UserClick(); });
    Mirror();  // the model has the last word, also when its handler threw
}

void CheckBoxControl::Mirror() {
    SendMessageW(hwnd_, BM_SETCHECK, model_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace velmora
