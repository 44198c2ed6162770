#include "controls/ListBox.h"

namespace velmora {

void ListBox::Changed() {
    if (onChanged) onChanged();
}

void ListBox::Clear() {
    items_.clear();
    itemIndex_ = -1;
    topIndex_ = 0;
    Changed();
}

void ListBox::Add(std::string item) {
    items_.push_back(std::move(item));
    Changed();
}

void ListBox::SetItemIndex(int index) {
    itemIndex_ = index;
    Changed();
}

void ListBox::SetTopIndex(int index) {
    topIndex_ = index;
    Changed();
}

void ListBox::UserSelect(int index) {
    if (index < 0 || index >= Count()) return;
    itemIndex_ = index;
    topIndex_ = index;
    Changed();
    if (onClick) onClick();
}

void SettleListSelection(ListBox& list) {
    if (list.Count() == 0) {
        list.SetItemIndex(-1);
        return;
    }
    int index = list.ItemIndex();
    if (index < 0 || index >= list.Count()) index = list.Count() - 1;
    list.SetItemIndex(index);
    list.SetTopIndex(index);
}

}  // namespace velmora
