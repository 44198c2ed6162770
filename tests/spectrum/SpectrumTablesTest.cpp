#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include "spectrum/SpectrumTables.h"

namespace velmora {
namespace {

double ExactSine(int i) { return std::sin(2.0 * std::numbers::pi * i / 4096.0); }

// Six decimals through text, the way the table was first written down.
float ViaText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return std::strtof(text, nullptr);
}

TEST(SineTable, FollowsTheSingleThenSixDecimalsRule) {
    const auto& sine = SpectrumTables::Sine();
    int differingEntries = 0;
    int checkedDiffering = 0;
    for (int i = 0; i < static_cast<int>(SpectrumTables::kSineEntries); ++i) {
        const float singleFirst = ViaText(static_cast<float>(ExactSine(i)));
        const float straight = ViaText(ExactSine(i));
        EXPECT_EQ(sine[static_cast<std::size_t>(i)], singleFirst) << "entry " << i;
        if (singleFirst != straight) {
            ++differingEntries;
            checkedDiffering += sine[static_cast<std::size_t>(i)] == singleFirst;
        }
    }
    EXPECT_EQ(differingEntries, 40);
    EXPECT_EQ(checkedDiffering, 40);
}

TEST(SineTable, KnownEntries) {
    const auto& sine = SpectrumTables::Sine();
    EXPECT_EQ(sine[0], 0.0f);
    EXPECT_EQ(sine[1024], 1.0f);
    EXPECT_EQ(sine[512], 0.707107f);
    EXPECT_EQ(sine[2048 + 512], -0.707107f);
    EXPECT_EQ(sine[5116], sine[1020]);  // the last cosine the window reads
}

TEST(BitReverseTable, ReversesTwelveBits) {
    const auto& reverse = SpectrumTables::BitReverse();
    EXPECT_EQ(reverse[0], 0);
    EXPECT_EQ(reverse[1], 2048);
    EXPECT_EQ(reverse[2], 1024);
    EXPECT_EQ(reverse[3], 3072);
    EXPECT_EQ(reverse[4095], 4095);
    EXPECT_EQ(reverse[0b000000000110], 0b011000000000);
    for (int i = 0; i < 4096; ++i) {
        ASSERT_EQ(reverse[static_cast<std::size_t>(reverse[static_cast<std::size_t>(i)])], i);
    }
}

}  // namespace
}  // namespace velmora
