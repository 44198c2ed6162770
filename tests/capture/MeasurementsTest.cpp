#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "support/FrameMaker.h"
#include "capture/Measurements.h"

namespace velmora {
namespace {

constexpr double kRate = 102400;
constexpr double kPi = 3.14159265358979323846;

std::function<int16_t(int)> Sine(double amplitude, double hz, double offset = 0) {
    return [=](int i) {
        const double v = offset + amplitude * std::sin(2 * kPi * hz * i / kRate + 0.3);
        return static_cast<int16_t>(std::lround(std::clamp(v, -2047.0, 2047.0)));
    };
}

std::function<int16_t(int)> Square(double amplitude, double hz, double duty) {
    return [=](int i) {
        const double phase = std::fmod(hz * i / kRate + 0.25, 1.0);
        return static_cast<int16_t>(phase < duty ? amplitude : -amplitude);
    };
}

std::function<int16_t(int)> Level(int value, int noise = 0) {
    return [=](int i) {
        return static_cast<int16_t>(value + (noise ? (i * 7) % (2 * noise + 1) - noise : 0));
    };
}

struct Case {
    const char* name;
    std::function<int16_t(int)> signal;
    double vpp, mean, rms;       // expected, in counts (volts at one volt a count)
    std::optional<double> hz;    // expected frequency; nothing: must be empty
    std::optional<double> duty;  // percent, when checked
    bool clipped;
};

// Counts stand for volts here (one volt a count), so the expected values are
// the signals' own.
TEST(Measurements, KnownSignalsGiveTheirFigures) {
    const double r = 1 / std::sqrt(2.0);
    // -1: not checked (a partial period moves it, or it is not the point).
    const Case cases[] = {
        {"sine 1 kHz, 20 periods", Sine(1000, 1000), 2000, 0, 1000 * r, 1000, 50, false},
        {"sine 3 kHz on an offset", Sine(200, 3000, -50), 400, -50, std::hypot(50, 200 * r), 3000,
         50, false},
        {"sine 1234.5 Hz, a partial period", Sine(1500, 1234.5), 3000, -1, 1500 * r, 1234.5,
         std::nullopt, false},
        {"square 50 %", Square(800, 1000, 0.5), 1600, 0, 800, 1000, 50, false},
        {"square 10 %", Square(600, 500, 0.1), 1200, -480, 600, 500, 10, false},
        {"square 90 %", Square(600, 500, 0.9), 1200, 480, 600, 500, 90, false},
        {"DC level", Level(300), 0, 300, 300, std::nullopt, std::nullopt, false},
        {"a few counts of noise on DC", Level(-200, 5), 10, -200, -1, std::nullopt, std::nullopt,
         false},
        {"clipped sine", Sine(2500, 1000), 4094, 0, -1, 1000, std::nullopt, true},
        {"less than one period", Sine(1000, 30), -1, -1, -1, std::nullopt, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SampleFrame frame = testing::MakeFrame(testing::Zero, c.signal);
        const ChannelMeasurements m = MeasureChannel(frame, 1, 1.0, kRate);
        if (c.vpp >= 0) {
            EXPECT_NEAR(m.peakToPeak, c.vpp, 0.002 * c.vpp + 1.5);
        }
        EXPECT_NEAR(m.maximum - m.minimum, m.peakToPeak, 1e-9);
        if (c.mean != -1) {
            EXPECT_NEAR(m.mean, c.mean, 2.5);
        }
        if (c.rms >= 0) {
            EXPECT_NEAR(m.rms, c.rms, 0.005 * c.rms);
        }
        EXPECT_NEAR(m.acRms * m.acRms, m.rms * m.rms - m.mean * m.mean,
                    1e-6 * m.rms * m.rms + 1e-9);
        EXPECT_EQ(m.clipped, c.clipped);
        ASSERT_EQ(m.frequency.has_value(), c.hz.has_value());
        EXPECT_EQ(m.period.has_value(), c.hz.has_value());
        EXPECT_EQ(m.duty.has_value(), c.hz.has_value());
        if (!c.hz) continue;
        EXPECT_NEAR(*m.frequency, *c.hz, 0.001 * *c.hz);
        EXPECT_NEAR(*m.period * *m.frequency, 1.0, 1e-9);
        if (c.duty) {
            EXPECT_NEAR(*m.duty, *c.duty, 0.5);
        }
    }
}

TEST(Measurements, VoltsFollowTheChannelsFactor) {
    const SampleFrame frame = testing::MakeFrame(Level(1000), testing::Zero);
    const ChannelMeasurements m = MeasureChannel(frame, 0, 2.0 / 4094, kRate);
    EXPECT_NEAR(m.mean, 0.48852, 1e-5);  // a sample of 1000 on the +-1 V range
    EXPECT_NEAR(m.rms, 0.48852, 1e-5);
}

}  // namespace
}  // namespace velmora
