#include "controls/EditBox.h"

#include <algorithm>

namespace velmora {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void EditBox::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (onChanged) onChanged();
}

bool EditBox::AcceptsInsert(std::string_view inserted, std::string_view kept) const {
    if (chars_ == EditChars::kAny) return true;
    const bool points = chars_ == EditChars::kDecimal;
    for (const char c : inserted) {
        if (!IsDigit(c) && !(points && c == '.')) return false;
    }
    const auto count = [](std::string_view text) {
        return std::count(text.begin(), text.end(), '.');
    };
    return !points || count(inserted) + count(kept) <= 1;
}

}  // namespace velmora
