#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora {

// A one-row list box. The selected index is -1 when nothing is selected. A
// selection made by the program runs no handler; only a user's click (or a
// keyboard selection) runs `onClick`, also on the entry already selected.
class ListBox {
  public:
    std::function<void()> onClick;
    // Lets a window binding mirror the model; runs after every change.
    std::function<void()> onChanged;

    void Clear();
    void Add(std::string item);
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }

    int ItemIndex() const { return itemIndex_; }
    // Any value is stored as given, as the toolkit does; callers settle it.
    void SetItemIndex(int index);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int index);

    // The user clicked (or chose with the keyboard) entry `index`.
    void UserSelect(int index);

  private:
    void Changed();

    std::vector<std::string> items_;
    int itemIndex_ = -1;
    int topIndex_ = 0;
};

// Forces the selection into the list (an index below 0 or not below the count
// becomes the last entry) and makes it the visible row. An empty list keeps
// no selection.
void SettleListSelection(ListBox& list);

}  // namespace velmora
