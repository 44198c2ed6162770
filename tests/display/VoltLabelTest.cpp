#include <gtest/gtest.h>

#include <string>

#include "display/VoltLabel.h"

namespace velmora {
namespace {

std::string Label(int32_t span, int row) { return VoltLabel(span, row).Text(); }

TEST(VoltLabel, RowsOfTheTwentyFourVoltRange) {
    const char* const expected[9] = {"  19.2 V", "  14.4 V", "   9.6 V", "   4.8 V", "   0.0 V",
                                     "-  4.8 V", "-  9.6 V", "- 14.4 V", "- 19.2 V"};
    for (int row = 1; row <= 9; ++row) {
        EXPECT_EQ(Label(48, row), expected[row - 1]) << "row " << row;
    }
}

TEST(VoltLabel, HundredsAndTenths) {
    EXPECT_EQ(Label(480, 1), " 192.0 V");
    EXPECT_EQ(Label(480, 9), "-192.0 V");
    EXPECT_EQ(Label(2, 1), "   0.8 V");
    EXPECT_EQ(Label(2, 4), "   0.2 V");
    EXPECT_EQ(Label(20, 3), "   4.0 V");
    EXPECT_EQ(Label(400, 4), "  40.0 V");
    for (int row = 1; row <= 9; ++row) EXPECT_EQ(Label(480, row).size(), 8u);
}

TEST(SpanTable, SelectionsAndMissingSelections) {
    EXPECT_EQ(SpanFor(0, 0), 480);
    EXPECT_EQ(SpanFor(1, 0), 48);
    EXPECT_EQ(SpanFor(1, 7), 2);
    EXPECT_EQ(SpanFor(0, 5), 80);
    // No selection, or one past the end, reads as the list's last item.
    EXPECT_EQ(SpanFor(-1, 0), 48);
    EXPECT_EQ(SpanFor(2, 0), 48);
    EXPECT_EQ(SpanFor(0, -1), 20);
    EXPECT_EQ(SpanFor(0, 8), 20);
    EXPECT_EQ(SpanFor(-1, -1), 2);
}

}  // namespace
}  // namespace velmora
