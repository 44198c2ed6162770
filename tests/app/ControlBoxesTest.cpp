#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/ControlBoxes.h"
#include "app/ControlLayout.h"
#include "controls/DpiScale.h"

namespace velmora {
namespace {

std::size_t IndexOf(const std::string& name) {
    return static_cast<std::size_t>(FindControl(name) - kControlLayout);
}

struct FitCase {
    const char* what;
    int dpi, boxDpi;
    std::map<std::string, int> needed;
    std::map<std::string, ControlBox> moved;  // every other box is the table's, scaled
};

// Both windows place their controls from this: at 96 DPI the table as it
// stands, elsewhere each text in full with its row kept apart. The figures
// are the table's, scaled as MulDiv rounds (240 x 1.5 = 360, 33 x 1.5 = 50).
const FitCase kCases[] = {
    {"the design DPI: the table, whatever the texts need",
     96,
     96,
     {{"Edit1", 500}, {"SweepSpeed", 500}, {"EnableA", 500}},
     {}},
    {"144 DPI, every text fits its scaled box: the table scaled", 144, 144, {{"Edit1", 100}}, {}},
    // "Horiz" (240, 24, 33 x 17), centred, takes 70: 10 more on either side,
    // which reaches 1 pixel into "Domain" (184 + 50 = 234 x 1.5 = 351), so it
    // moves right by 1 and reaches 2 pixels into SweepSpeed (279 x 1.5 =
    // 419), which moves right by 2. Defaults, further right, stays.
    {"a centred label grows both ways and pushes its row apart",
     144,
     144,
     {{"Edit4", 70}},
     {{"Edit4", {351, 36, 70, 26}}, {"SweepSpeed", {421, 36, 113, 26}}}},
    // Qt places in logical pixels: Chan1Probe (73, 40 wide) takes 50. Scale1
    // overlaps it by 2 in the table; only what lies beyond that moves it:
    // 10. Scale1 then overlaps Scope1CheckBox (177) by 2, which moves by 2;
    // Fft1CheckBox (207) is clear of it.
    {"a list grows to the right; its row moves by the new overlap alone",
     144,
     96,
     {{"Chan1Probe", 50}},
     {{"Chan1Probe", {73, 59, 50, 18}},
      {"Scale1", {121, 59, 58, 18}},
      {"Scope1CheckBox", {179, 59, 24, 19}}}},
};

TEST(ControlBoxesTest, BoxesGrowToTheirTextsAndTheirRowsMakeRoom) {
    for (const FitCase& c : kCases) {
        SCOPED_TRACE(c.what);
        std::vector<int> needed(kControlCount, 0);
        for (const auto& [name, width] : c.needed) needed[IndexOf(name)] = width;
        const std::vector<ControlBox> boxes = FitControlBoxes(c.dpi, c.boxDpi, needed);
        ASSERT_EQ(boxes.size(), kControlCount);
        for (std::size_t i = 0; i < kControlCount; ++i) {
            const ControlPlacement& p = kControlLayout[i];
            const auto moved = c.moved.find(std::string(p.name));
            const ControlBox expected =
                moved != c.moved.end()
                    ? moved->second
                    : ControlBox{ToDevicePixels(p.left, c.boxDpi), ToDevicePixels(p.top, c.boxDpi),
                                 ToDevicePixels(p.width, c.boxDpi),
                                 ToDevicePixels(p.height, c.boxDpi)};
            EXPECT_EQ(boxes[i], expected) << p.name;
        }
    }
}

}  // namespace
}  // namespace velmora
