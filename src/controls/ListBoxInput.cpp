#include "controls/ListBoxInput.h"

#include <algorithm>

namespace velmora {

// With nothing selected, a step selects the entry in view.
int ListBoxInput::KeyTarget(ListKey key) const {
    const int selected = model_.ItemIndex();
    const bool none = selected < 0 || selected >= model_.Count();
    switch (key) {
        case ListKey::Previous:
            return none ? model_.TopIndex() : selected - 1;
        case ListKey::Next:
            return none ? model_.TopIndex() : selected + 1;
        case ListKey::First:
            return 0;
        case ListKey::Last:
            return model_.Count() - 1;
    }
    return -1;
}

void ListBoxInput::Key(ListKey key) {
    const int index = KeyTarget(key);
    if (index < 0 || index >= model_.Count() || index == model_.ItemIndex()) return;
    dispatch_([this, index] { model_.UserSelect(index); });
}

void ListBoxInput::RowClick() {
    const int top = model_.TopIndex();
    if (top < 0 || top >= model_.Count()) return;
    dispatch_([this, top] { model_.UserSelect(top); });
}

void ListBoxInput::Scroll(int rows) {
    const long long target = static_cast<long long>(model_.TopIndex()) + rows;
    ScrollTo(static_cast<int>(std::clamp<long long>(target, 0, model_.Count())));
}

void ListBoxInput::ScrollTo(int index) {
    if (model_.Count() == 0) return;
    const int top = std::clamp(index, 0, model_.Count() - 1);
    if (top != model_.TopIndex()) dispatch_([this, top] { model_.SetTopIndex(top); });
}

void ListBoxInput::Wheel(int delta) {
    // A burst of many notches scrolls at most a few rows at once.
    const long long sum = static_cast<long long>(wheelAccumulator_) + delta;
    wheelAccumulator_ =
        static_cast<int>(std::clamp<long long>(sum, -8 * kWheelNotch, 8 * kWheelNotch));
    while (wheelAccumulator_ >= kWheelNotch) {
        wheelAccumulator_ -= kWheelNotch;
        Scroll(-1);
    }
    while (wheelAccumulator_ <= -kWheelNotch) {
        wheelAccumulator_ += kWheelNotch;
        Scroll(1);
    }
}

}  // namespace velmora
