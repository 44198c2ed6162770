#pragma once

#include "controls/Dispatcher.h"
#include "controls/ListBox.h"

namespace velmora {

// The keys a one-row list box answers: the arrow keys (and Page Up/Down) step
// to the previous or next entry, Home and End jump to the ends.
enum class ListKey { Previous, Next, First, Last };

// What a person does to a one-row list box, turned into the model's events, so
// that every window binding behaves alike. Only one entry shows, so the mouse
// alone must reach every entry: scrolling (the small scroll arrows or the
// wheel) moves the visible row without selecting, and a click on the row
// selects the entry shown and counts as the user's click, also when it is the
// entry already selected. A key selects and counts as a click, except when it
// lands on the entry already selected (nothing changes, so nothing is sent).
// Every event that changes something goes through the dispatcher.
class ListBoxInput {
  public:
    static constexpr int kWheelNotch = 120;  // wheel delta of one notch

    ListBoxInput(ListBox& model, Dispatcher dispatch)
        : model_(model), dispatch_(std::move(dispatch)) {}

    void Key(ListKey key);
    void RowClick();
    // Moves the visible row by `rows` (negative: towards the first entry).
    void Scroll(int rows);
    // Makes entry `index` the visible row, clamped into the list.
    void ScrollTo(int index);
    // The wheel turned by `delta`; positive (away from the user) scrolls
    // towards the first entry. Part notches add up.
    void Wheel(int delta);

  private:
    int KeyTarget(ListKey key) const;

    ListBox& model_;
    Dispatcher dispatch_;
    int wheelAccumulator_ = 0;
};

}  // namespace velmora
