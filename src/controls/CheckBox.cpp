#include "controls/CheckBox.h"

namespace velmora {

void CheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (onChanged) onChanged();
}

void CheckBox::UserClick() {
    SetChecked(!checked_);
    if (onClick) onClick();
}

}  // namespace velmora
