#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "raster/LineRaster.h"
#include "support/ReferenceLine.h"

namespace velmora {
namespace {

constexpr int kWidth = 61;  // odd sizes, so that no symmetry hides a fault
constexpr int kHeight = 47;
constexpr uint32_t kWhite = 0xffffffff;
constexpr uint32_t kRed = 0xffff0000;

using Picture = std::vector<uint32_t>;
using Points = std::vector<std::pair<int, int>>;

Picture Drawn(int x0, int y0, int x1, int y1) {
    Picture picture(kWidth * kHeight, kWhite);
    LineRaster(picture.data(), kWidth, kHeight, kWidth).Draw(x0, y0, x1, y1, kRed);
    return picture;
}

Picture Reference(int x0, int y0, int x1, int y1) {
    Picture picture(kWidth * kHeight, kWhite);
    testing::ReferenceLine(kWidth, kHeight, x0, y0, x1, y1,
                           [&](int x, int y) { picture[y * kWidth + x] = kRed; });
    return picture;
}

// Draws one red line on a blank picture and compares it with the reference;
// counts the lines that showed at all in `shown`. Empty when equal, else
// where they first differ.
std::string LineDifference(int x0, int y0, int x1, int y1, int* shown = nullptr) {
    const Picture got = Drawn(x0, y0, x1, y1);
    const Picture want = Reference(x0, y0, x1, y1);
    if (shown != nullptr && std::count(got.begin(), got.end(), kRed) > 0) ++*shown;
    const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin());
    if (g == got.end()) return {};
    const auto at = g - got.begin();
    return "line (" + std::to_string(x0) + ", " + std::to_string(y0) + ") to (" +
           std::to_string(x1) + ", " + std::to_string(y1) + "): pixel (" +
           std::to_string(at % kWidth) + ", " + std::to_string(at / kWidth) + ") is " +
           std::to_string(*g & 0xFFFFFF) + ", expected " + std::to_string(*w & 0xFFFFFF);
}

// The red pixels, row by row, left to right.
Points RedLine(int x0, int y0, int x1, int y1) {
    const Picture picture = Drawn(x0, y0, x1, y1);
    Points points;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (picture[y * kWidth + x] == kRed) points.emplace_back(x, y);
        }
    }
    return points;
}

TEST(LineRaster, CoversTheStartPixelAndStopsShortOfTheEndPoint) {
    EXPECT_EQ(RedLine(2, 5, 6, 5), (Points{{2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    EXPECT_EQ(RedLine(6, 5, 2, 5), (Points{{3, 5}, {4, 5}, {5, 5}, {6, 5}}));
    EXPECT_EQ(RedLine(3, 1, 3, 4), (Points{{3, 1}, {3, 2}, {3, 3}}));
    EXPECT_EQ(RedLine(1, 1, 4, 4), (Points{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(RedLine(4, 1, 1, 4), (Points{{4, 1}, {3, 2}, {2, 3}}));
    // Halfway steps move towards the end point.
    EXPECT_EQ(RedLine(0, 0, 4, 2), (Points{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
    EXPECT_EQ(RedLine(4, 2, 0, 0), (Points{{1, 0}, {2, 1}, {3, 1}, {4, 2}}));
    EXPECT_EQ(RedLine(10, 10, 11, 12), (Points{{10, 10}, {11, 11}}));
}

TEST(LineRaster, OfZeroLengthDrawsNothing) { EXPECT_TRUE(RedLine(7, 7, 7, 7).empty()); }

TEST(LineRaster, MatchesTheReferenceInEveryDirection) {
    // Every end point within 22 pixels of a start near the centre: both axes,
    // diagonals, steep and shallow lines in all eight octants, ties included.
    for (int dy = -22; dy <= 22; ++dy) {
        for (int dx = -22; dx <= 22; ++dx) {
            const std::string diff = LineDifference(30, 23, 30 + dx, 23 + dy);
            ASSERT_TRUE(diff.empty()) << diff;
        }
    }
}

TEST(LineRaster, PartlyOrWhollyOutsideKeepsOnlyTheInsidePixels) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> coord(-150, 210);
    for (int n = 0; n < 3000; ++n) {
        const int x0 = coord(random), y0 = coord(random), x1 = coord(random), y1 = coord(random);
        const std::string diff = LineDifference(x0, y0, x1, y1);
        ASSERT_TRUE(diff.empty()) << diff;
    }
    EXPECT_TRUE(RedLine(-10, -3, 100, -3).empty());
    EXPECT_TRUE(RedLine(-1, -5, -1, 80).empty());
    EXPECT_TRUE(RedLine(kWidth, 0, kWidth + 40, 30).empty());
    EXPECT_EQ(RedLine(kWidth + 3, 4, -4, 4).size(), static_cast<std::size_t>(kWidth));
}

TEST(LineRaster, AtTheLimitsOfIntMatchesTheReference) {
    const std::vector<int> values{INT_MIN, INT_MIN + 1, -1000000007, 17, 40, INT_MAX - 1, INT_MAX};
    for (int x0 : values) {
        for (int y0 : values) {
            for (int x1 : values) {
                for (int y1 : values) {
                    const std::string diff = LineDifference(x0, y0, x1, y1);
                    ASSERT_TRUE(diff.empty()) << diff;
                }
            }
        }
    }
}

TEST(LineRaster, FromFarAwayThroughThePictureMatchesTheReference) {
    // Lines through a pixel of the picture whose ends lie anywhere in the int
    // range: a reflection about the pixel, clamped where it would overflow.
    std::mt19937 random(77);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> column(0, kWidth - 1);
    std::uniform_int_distribution<int> row(0, kHeight - 1);
    auto reflect = [](int64_t centre, int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(2 * centre - v, INT_MIN, INT_MAX));
    };
    int shown = 0;
    for (int n = 0; n < 3000; ++n) {
        const int cx = column(random), cy = row(random);
        const int x0 = n % 3 == 0 ? any(random) / 65536 : any(random);
        const int y0 = n % 5 == 0 ? cy + n % 7 - 3 : any(random);
        const std::string diff = LineDifference(x0, y0, reflect(cx, x0), reflect(cy, y0), &shown);
        ASSERT_TRUE(diff.empty()) << diff;
    }
    EXPECT_GT(shown, 2000);  // most pass through the picture, clamped ends aside
}

}  // namespace
}  // namespace velmora
