#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "controls/CheckBox.h"
#include "controls/EditBox.h"
#include "controls/ListBox.h"
#include "controls/Memo.h"
#include "controls/ScrollBar.h"
#include "controls/Window.h"

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

// Typing and pasting are one rule: what goes in must be what typing lets
// through, whole, and a decimal box keeps one point at most.
TEST(EditBoxTest, WhatTypingAndPastingLetIn) {
    const struct {
        EditChars chars;
        const char *inserted, *kept;
        bool accepted;
    } cases[] = {
        {EditChars::kDigits, "7", "1.00", true},   {EditChars::kDigits, ".", "", false},
        {EditChars::kDigits, "1 000", "", false},  // refused whole, never "1000"
        {EditChars::kDecimal, "0.5", "", true},    {EditChars::kDecimal, ".", "1.00", false},
        {EditChars::kDecimal, "0.5 V", "", false}, {EditChars::kAny, "1.5V", "1", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(EditBox("", c.chars).AcceptsInsert(c.inserted, c.kept), c.accepted) << c.inserted;
    }
}

// The outer geometry is the client area plus the frame only the binding
// knows: a design size grows by the frame it reports, a stored one does not.
TEST(WindowTest, OuterGeometryIsTheClientAreaWithTheReportedFrame) {
    Window window;
    window.SetDesignGeometry(0, 277, 1511, 899);
    EXPECT_EQ(window.Width(), 1511);  // no frame reported yet
    window.SetFrame(FrameMargins{4, 23, 4, 4});
    EXPECT_EQ(window.Width(), 1519);
    EXPECT_EQ(window.Height(), 926);
    window.SetFrame(FrameMargins{1, 2, 1, 1});  // a new frame: the client area stays
    EXPECT_EQ(window.Width(), 1513);
    EXPECT_EQ(window.Height(), 902);
    EXPECT_EQ(window.ClientWidth(), 1511);
    window.SetGeometry(10, 20, 800, 600);  // the settings file: outer as written
    window.SetFrame(FrameMargins{4, 23, 4, 4});
    EXPECT_EQ(window.Width(), 800);
    EXPECT_EQ(window.Height(), 600);
    EXPECT_EQ(window.Left(), 10);
    const FrameMargins& frame = window.Frame();
    EXPECT_EQ(frame.ClientWidth(window.Width()), 792);
    EXPECT_EQ(frame.ClientHeight(window.Height()), 573);
    EXPECT_EQ(frame.OuterHeight(frame.ClientHeight(600)), 600);
    // Any stored number converts without overflow.
    EXPECT_EQ(frame.ClientHeight(-2147483647 - 1), -2147483647 - 1);
    EXPECT_EQ(frame.OuterWidth(2147483647), 2147483647);
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
