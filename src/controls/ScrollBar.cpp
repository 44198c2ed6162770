#include "controls/ScrollBar.h"

#include <algorithm>

namespace velmora {

void ScrollBar::SetPosition(int position) {
    const int clamped = std::clamp(position, min_, max_);
    if (clamped == position_) return;
    position_ = clamped;
    if (onChanged) onChanged();
    if (onChange) onChange();
}

}  // namespace velmora
