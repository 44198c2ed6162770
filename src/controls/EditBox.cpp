#include "controls/EditBox.h"

namespace velmora {

void EditBox::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (onChanged) onChanged();
}

}  // namespace velmora
