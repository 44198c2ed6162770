#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "capture/FrequencySweep.h"
#include "display/VoltLabel.h"
#include "support/FrameMaker.h"

namespace velmora {
namespace {

constexpr double kRate = 102400.0;

TEST(FrequencySweepTest, PointsAndLimits) {
    const std::vector<double> sweep = SweepFrequencies(100, 20000, 10);
    ASSERT_EQ(sweep.size(), 25u);
    EXPECT_DOUBLE_EQ(sweep[0], 100);
    EXPECT_NEAR(sweep[10], 1000, 1e-9);
    EXPECT_NEAR(sweep[23], 19952.6, 0.1);
    EXPECT_EQ(sweep[24], 20000);
    // A decade's end that is the sweep's end comes once.
    EXPECT_EQ(SweepFrequencies(100, 1000, 2).size(), 3u);
    EXPECT_EQ(SweepFrequencies(100, 150, 1).size(), 2u);
    EXPECT_DOUBLE_EQ(ResolvableFrequencies(kRate).lowest, 50);
    EXPECT_DOUBLE_EQ(ResolvableFrequencies(kRate).highest, 25600);
}

// A circuit played by hand: CH1 sees `in` volts peak, CH2 `out` volts peak
// `lag` radians behind, each through the range it is put on (probe x1).
class Circuit final : public ResponseFrames {
  public:
    Circuit(double in, double out, double lag, int framesBeforeSilence = 100)
        : in_(in), out_(out), lag_(lag), left_(framesBeforeSilence) {}

    const FrameRecord* Frame(const std::array<int, 2>& ranges) override {
        if (left_-- <= 0) return nullptr;
        asked.push_back(ranges);
        for (std::size_t c = 0; c < 2; ++c) {
            const double span = SpanFor(1, ranges[c]);
            record_.settings.channel[c] = {false, ranges[c], span / 2, span / 4094};
        }
        const auto channel = [&](std::size_t c, double volts, double phase) {
            return [=, this](int i) {
                const double v = volts *
                                 std::sin(2 * std::numbers::pi * kFrequency * i / kRate + phase) /
                                 record_.settings.channel[c].voltsPerCount;
                return static_cast<int16_t>(std::clamp(std::lround(v), -2047L, 2047L));
            };
        };
        record_.frame = testing::MakeFrame(channel(0, in_, 0.4), channel(1, out_, 0.4 - lag_));
        return &record_;
    }

    static constexpr double kFrequency = 1234.0;
    std::vector<std::array<int, 2>> asked;

  private:
    double in_, out_, lag_;
    int left_;
    FrameRecord record_;
};

TEST(FrequencySweepTest, RangesFollowTheSignalAndSmallOutputsStayEmpty) {
    struct Case {
        double in, out;
        std::array<int, 2> start, end;
        bool measured;
    };
    const Case cases[] = {
        {0.9, 0.05, {7, 7}, {7, 7}, true},     // small output, already most sensitive
        {0.9, 0.05, {0, 0}, {6, 7}, true},     // stepped down, range by range
        {1.0, 10.0, {7, 7}, {6, 3}, true},     // full scale counts as clipped; +-12 V holds 10 V
        {0.9, 0.0015, {7, 7}, {7, 7}, false},  // 3 counts: no phase worth giving
        {30.0, 0.9, {7, 7}, {0, 7}, false},    // beyond the largest range: clipped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        Circuit circuit(c.in, c.out, 0.7);
        std::array<int, 2> ranges = c.start;
        const std::optional<ResponsePoint> p =
            MeasureResponse(Circuit::kFrequency, ranges, circuit, kRate);
        ASSERT_TRUE(p);
        EXPECT_EQ(ranges, c.end);
        EXPECT_EQ(circuit.asked.back(), c.end);
        EXPECT_EQ(p->rangeVolts[1], SpanFor(1, c.end[1]) / 2);
        EXPECT_EQ(p->gainDb.has_value(), c.measured);
        EXPECT_EQ(p->phaseDegrees.has_value(), c.measured);
        if (!c.measured) continue;
        EXPECT_NEAR(*p->volts[1], c.out, 0.002 * c.out + 0.001);
        EXPECT_NEAR(*p->gainDb, 20 * std::log10(c.out / c.in), 0.05);
        EXPECT_NEAR(*p->phaseDegrees, -0.7 * 180 / std::numbers::pi, 0.5);
    }
    Circuit silent(1.0, 0.5, 0.0, 0);
    std::array<int, 2> ranges{7, 7};
    EXPECT_FALSE(MeasureResponse(Circuit::kFrequency, ranges, silent, kRate));
}

}  // namespace
}  // namespace velmora
