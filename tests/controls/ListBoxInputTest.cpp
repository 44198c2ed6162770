#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ListBoxInput.h"

namespace velmora {
namespace {

// A four-entry list whose clicks are recorded as "click <index>", with every
// dispatched event counted, as a window binding would see it.
struct Fixture {
    ListBox list;
    std::vector<std::string> events;
    int dispatched = 0;
    ListBoxInput input{list, [this](const std::function<void()>& event) {
                           ++dispatched;
                           event();
                       }};
    Fixture() {
        for (const char* item : {"a", "b", "c", "d"}) list.Add(item);
        list.onClick = [this] { events.push_back("click " + std::to_string(list.ItemIndex())); };
    }
};

TEST(ListBoxInputTest, KeysSelectAndClickUnlessTheyLandOnTheSelectedEntry) {
    Fixture f;
    f.list.SetTopIndex(2);
    f.input.Key(ListKey::Next);  // nothing selected: the entry in view
    f.input.Key(ListKey::Next);
    f.input.Key(ListKey::Next);  // past the end: nothing
    f.input.Key(ListKey::Last);  // already there: no click
    f.input.Key(ListKey::First);
    f.input.Key(ListKey::Previous);  // before the start: nothing
    f.input.Key(ListKey::Previous);
    EXPECT_EQ(f.events, (std::vector<std::string>{"click 2", "click 3", "click 0"}));
    EXPECT_EQ(f.dispatched, 3);
    EXPECT_EQ(f.list.TopIndex(), 0);
}

TEST(ListBoxInputTest, ScrollingMovesTheRowAndAClickSelectsWhatShows) {
    Fixture f;
    f.list.SetItemIndex(3);
    f.list.SetTopIndex(3);
    f.input.RowClick();  // the entry already selected still counts
    f.input.Scroll(-2);
    f.input.Scroll(-100);  // clamped to the first entry
    EXPECT_EQ(f.list.TopIndex(), 0);
    EXPECT_EQ(f.list.ItemIndex(), 3);
    f.input.ScrollTo(99);
    EXPECT_EQ(f.list.TopIndex(), 3);
    f.input.ScrollTo(1);
    f.input.RowClick();
    EXPECT_EQ(f.events, (std::vector<std::string>{"click 3", "click 1"}));
    f.input.ScrollTo(1);  // no change: not even dispatched
    EXPECT_EQ(f.dispatched, 6);
}

TEST(ListBoxInputTest, WheelNotchesAddUpAndNeverSelect) {
    Fixture f;
    f.list.SetTopIndex(2);
    f.input.Wheel(60);
    EXPECT_EQ(f.list.TopIndex(), 2);
    f.input.Wheel(60);  // one whole notch away from the user: up a row
    EXPECT_EQ(f.list.TopIndex(), 1);
    f.input.Wheel(-360);
    EXPECT_EQ(f.list.TopIndex(), 3);  // clamped at the last entry
    f.input.Wheel(2147483647);        // a wild delta scrolls a few rows, no overflow
    EXPECT_EQ(f.list.TopIndex(), 0);
    EXPECT_TRUE(f.events.empty());

    ListBox empty;
    ListBoxInput input(empty, [](const std::function<void()>&) { FAIL() << "dispatched"; });
    input.Key(ListKey::Next);
    input.RowClick();
    input.Wheel(-120);
}

}  // namespace
}  // namespace velmora
