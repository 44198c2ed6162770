#include "controls/Memo.h"

namespace velmora {

void Memo::Clear() {
    lines_.clear();
    if (onCleared) onCleared();
}

void Memo::Append(std::string line) {
    if (lines_.size() >= kMaxLines) {
        lines_.erase(lines_.begin(), lines_.begin() + kMaxLines / 4);
    }
    lines_.push_back(std::move(line));
    if (onAppend) onAppend(lines_.back());
}

void Memo::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (onVisibility) onVisibility();
}

}  // namespace velmora
