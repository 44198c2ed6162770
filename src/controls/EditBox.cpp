#include "controls/EditBox.h"

namespace velmora {

void EditBox::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (onChanged) onChanged();
}

std::string EditBox::TypedPart(std::string_view text) const {
    std::string kept;
    for (const char c : text) {
        if (AcceptsTyped(c)) kept.push_back(c);
    }
    return kept;
}

}  // namespace velmora
