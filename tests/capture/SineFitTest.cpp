#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "capture/SineFit.h"
#include "support/FrameMaker.h"

namespace velmora {
namespace {

constexpr double kRate = 102400.0;

// One table: amplitude, phase and offset come back from a frame of the given
// frequency (whole and broken numbers of periods, one period only, close to
// four samples a period), with and without noise, and a sine beyond full
// scale is flagged as clipped.
TEST(SineFitTest, FindsAmplitudePhaseAndOffset) {
    struct Case {
        double frequency, amplitude, phase, offset;
        int noise;         // peak counts, uniform
        double tolerance;  // counts, and the phase's tolerance as tolerance / amplitude
        bool clipped;
    };
    const Case cases[] = {
        {1000.0, 1500.0, 0.3, 0.0, 0, 0.6, false},    // 20 whole periods
        {1234.5, 800.0, -2.0, 120.0, 0, 0.6, false},  // 24.69 periods
        {50.0, 1000.0, 3.0, -40.0, 0, 0.6, false},    // exactly one period
        {73.0, 600.0, 1.0, 10.0, 0, 0.6, false},      // under a period and a half
        {25000.0, 900.0, -0.7, 0.0, 0, 0.6, false},   // 4.1 samples a period
        {3000.0, 20.0, 2.5, 5.0, 30, 2.0, false},     // noise larger than the signal
        {2000.0, 3000.0, 0.0, 0.0, 0, 1e9, true},     // beyond full scale
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frequency);
        std::uniform_int_distribution<int> noise(-c.noise, c.noise);
        const auto wave = [&](int i) {
            const double v =
                c.offset +
                c.amplitude * std::sin(2 * std::numbers::pi * c.frequency * i / kRate + c.phase);
            return static_cast<int16_t>(std::clamp<long>(std::lround(v) + noise(random),
                                                         -kFullScaleCounts, kFullScaleCounts));
        };
        const SampleFrame frame = testing::MakeFrame(testing::Zero, wave);
        const SineFit fit = FitSine(frame, 1, c.frequency, kRate);
        EXPECT_EQ(fit.clipped, c.clipped);
        if (c.clipped) continue;
        EXPECT_NEAR(fit.amplitude, c.amplitude, c.tolerance);
        EXPECT_NEAR(std::remainder(fit.phase - c.phase, 2 * std::numbers::pi), 0.0,
                    c.tolerance / c.amplitude);
        EXPECT_NEAR(fit.offset, c.offset, c.tolerance);
        EXPECT_LE(fit.residualRms, c.noise + 0.5);
        EXPECT_FALSE(FitSine(frame, 0, c.frequency, kRate).amplitude > 0.0);  // silent channel
    }
}

}  // namespace
}  // namespace velmora
