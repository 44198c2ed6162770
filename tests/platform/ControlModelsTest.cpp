#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/CheckBox.h"
#include "platform/EditBox.h"
#include "platform/ListBox.h"
#include "platform/Memo.h"
#include "platform/ScrollBar.h"

namespace velmora {
namespace {

ListBox ThreeItems(int* clicks) {
    ListBox list;
    list.Add("a");
    list.Add("b");
    list.Add("c");
    list.onClick = [clicks] { ++*clicks; };
    return list;
}

TEST(ListBoxTest, OnlyAUsersSelectionRunsTheClickHandler) {
    int clicks = 0;
    ListBox list = ThreeItems(&clicks);
    list.SetItemIndex(1);
    EXPECT_EQ(clicks, 0);
    list.UserSelect(1);  // the entry already selected still counts as a click
    list.UserSelect(2);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(list.TopIndex(), 2);
    list.UserSelect(3);  // no such entry: ignored
    EXPECT_EQ(clicks, 2);
}

TEST(ListBoxTest, SettleForcesTheSelectionIntoTheList) {
    int clicks = 0;
    ListBox list = ThreeItems(&clicks);
    for (int stored : {-1, 3, 7, -100}) {
        list.SetItemIndex(stored);
        SettleListSelection(list);
        EXPECT_EQ(list.ItemIndex(), 2) << stored;
        EXPECT_EQ(list.TopIndex(), 2);
    }
    list.SetItemIndex(0);
    SettleListSelection(list);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(list.TopIndex(), 0);
    EXPECT_EQ(clicks, 0);

    ListBox empty;
    SettleListSelection(empty);
    EXPECT_EQ(empty.ItemIndex(), -1);
}

TEST(ScrollBarTest, ClampsAndRunsItsHandlerOncePerNewPosition) {
    ScrollBar bar(-2000, 2000, 0);
    std::vector<int> seen;
    bar.onChange = [&] { seen.push_back(bar.Position()); };
    bar.SetPosition(0);     // no change, no handler
    bar.SetPosition(5000);  // clamped to the top
    bar.SetPosition(2000);  // already there
    bar.SetPosition(-5);
    bar.SetPosition(-9999);
    EXPECT_EQ(seen, (std::vector<int>{2000, -5, -2000}));
}

TEST(CheckBoxTest, ProgramTicksSilentlyUserClickTogglesThenRunsHandler) {
    CheckBox box;
    bool stateSeen = false;
    int clicks = 0;
    box.onClick = [&] {
        ++clicks;
        stateSeen = box.Checked();
    };
    box.SetChecked(true);
    EXPECT_EQ(clicks, 0);
    box.UserClick();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(stateSeen);
}

TEST(EditBoxTest, DigitsOnlyFiltersTypingButKeepsProgramText) {
    EditBox digits("1.00", true);
    EXPECT_EQ(digits.Text(), "1.00");
    EXPECT_TRUE(digits.AcceptsTyped('7'));
    EXPECT_FALSE(digits.AcceptsTyped('.'));
    EXPECT_FALSE(digits.AcceptsTyped('-'));
    EditBox any("1.00", false);
    EXPECT_TRUE(any.AcceptsTyped('V'));
}

TEST(MemoTest, AWindowLeftRunningKeepsOnlyTheNewestLines) {
    Memo log;
    std::string mirrored;
    log.onAppend = [&mirrored](const std::string& line) { mirrored = line; };
    const std::size_t total = 3 * Memo::kMaxLines + 17;
    std::size_t largest = 0;
    for (std::size_t i = 0; i < total; ++i) {
        log.Append(std::to_string(i));
        largest = std::max(largest, log.Lines().size());
    }
    EXPECT_LE(largest, Memo::kMaxLines);
    EXPECT_GE(log.Lines().size(), Memo::kMaxLines * 3 / 4);
    // What remains is the newest lines, in order, and the mirror saw the last.
    for (std::size_t i = 0; i < log.Lines().size(); ++i) {
        ASSERT_EQ(log.Lines()[i], std::to_string(total - log.Lines().size() + i)) << i;
    }
    EXPECT_EQ(mirrored, std::to_string(total - 1));
}

}  // namespace
}  // namespace velmora
