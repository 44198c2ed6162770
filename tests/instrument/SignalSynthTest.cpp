#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "instrument/SignalSynth.h"

namespace velmora {
namespace {

// A state whose generator A plays `waveform` at `frequency` and `amplitude`
// into channel 1 on `range`; it runs free: the trigger watches the silent channel 2.
InstrumentState Playing(char waveform, double frequency, double amplitude, int range) {
    InstrumentState state;
    state.generator[0] = {waveform, frequency, amplitude};
    state.range[0] = range;
    state.syncSource = 1;
    return state;
}

std::vector<int> Channel(const SignalSynth::Samples& samples, int channel) {
    return {samples.channel[channel].begin(), samples.channel[channel].end()};
}

std::vector<int> Capture(const InstrumentState& state, int channel = 0) {
    SignalSynth synth(0);
    SignalSynth::Samples samples;
    synth.Capture(state, samples);
    return Channel(samples, channel);
}

// Indexes where the signal goes from below `level` to at-or-above it.
std::vector<int> RisingCrossings(const std::vector<int>& s, int level) {
    std::vector<int> at;
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i - 1] < level && s[i] >= level) at.push_back(static_cast<int>(i));
    }
    return at;
}

double MeanPeriod(const std::vector<int>& crossings) {
    return static_cast<double>(crossings.back() - crossings.front()) /
           static_cast<double>(crossings.size() - 1);
}

// 1 kHz at 102.4 kS/s: 102.4 samples a cycle, 20 cycles in the window.
constexpr double kFrequency = 1000.0;
constexpr double kSamplesPerCycle = 102.4;

TEST(SignalSynthTest, EveryWaveformHasItsPeriodAndPeak) {
    // 800 Hz is exactly 128 samples a cycle, so the samples meet the peaks of
    // every shape except the far end of a saw, which lies one step short.
    for (const char waveform : {'1', '2', '3', '4', '5', '6', '7', '8'}) {
        SCOPED_TRACE(waveform);
        // 1 V on the ±2 V range: the peak is 2047 / 2 counts.
        const std::vector<int> s = Capture(Playing(waveform, 800.0, 1.0, 6));
        const std::vector<int> crossings = RisingCrossings(s, 1);
        ASSERT_GE(crossings.size(), 15u);
        EXPECT_NEAR(MeanPeriod(crossings), 128.0, 1.0);
        const double step = waveform == '3' || waveform == '4' ? 2047.0 / 128 : 0.0;
        const int high = *std::max_element(s.begin(), s.end());
        const int low = *std::min_element(s.begin(), s.end());
        EXPECT_NEAR(high, 1023.5 - (waveform == '3' ? step : 0.0), 1.0);
        EXPECT_NEAR(low, -1023.5 + (waveform == '4' ? step : 0.0), 1.0);
    }
}

TEST(SignalSynthTest, WaveformsHaveTheirShapes) {
    InstrumentState state = Playing('1', kFrequency, 1.0, 7);
    state.generator[1] = {'2', kFrequency, 1.0};
    state.range[1] = 7;
    state.syncLevel = InstrumentState::kXYLevel;  // free-running
    SignalSynth synth(0);
    SignalSynth::Samples samples;
    synth.Capture(state, samples);
    // Cosine leads sine by a quarter cycle.
    for (int i = 0; i < 1000; ++i) {
        const double angle = 2.0 * M_PI * i / kSamplesPerCycle;
        EXPECT_NEAR(samples.channel[0][i], 2047.0 * std::sin(angle), 1.0) << i;
        EXPECT_NEAR(samples.channel[1][i], 2047.0 * std::cos(angle), 1.0) << i;
    }
    const std::vector<int> up = Capture(Playing('3', kFrequency, 1.0, 7));
    const std::vector<int> down = Capture(Playing('4', kFrequency, 1.0, 7));
    EXPECT_LT(up[10], up[50]);
    EXPECT_GT(down[10], down[50]);
    const std::vector<int> triangle = Capture(Playing('5', kFrequency, 1.0, 7));
    EXPECT_NEAR(triangle[25] - triangle[0], triangle[50] - triangle[25], 2.0);  // straight flank
    EXPECT_NEAR(triangle[51], 2047, 50);                                        // apex at mid-cycle
}

TEST(SignalSynthTest, SquaresHaveTheirDutyCycles) {
    const std::pair<char, double> squares[] = {{'6', 0.5}, {'7', 0.1}, {'8', 0.9}};
    for (const auto& [waveform, duty] : squares) {
        SCOPED_TRACE(waveform);
        const std::vector<int> s = Capture(Playing(waveform, kFrequency, 1.0, 5));
        const auto high = std::count_if(s.begin(), s.end(), [](int v) { return v > 0; });
        EXPECT_NEAR(static_cast<double>(high) / s.size(), duty, 0.01);
        for (const int v : s) EXPECT_NEAR(std::abs(v), 512, 1);  // 1 V of ±4 V
    }
}

TEST(SignalSynthTest, OffAndUnknownCharactersAreFlat) {
    for (const char waveform : {'0', '9', ':', '/', 'x'}) {
        SCOPED_TRACE(waveform);
        for (const int v : Capture(Playing(waveform, kFrequency, 3.3, 7))) ASSERT_EQ(v, 0);
    }
}

TEST(SignalSynthTest, RangesScaleFullScaleTo2047AndClipBeyond) {
    const double volts[] = {24, 20, 16, 12, 8, 4, 2, 1};
    for (int range = 0; range < 8; ++range) {
        SCOPED_TRACE(range);
        // A 50 % square of 0.8 V: flat tops at exactly 0.8 V.
        const std::vector<int> s = Capture(Playing('6', kFrequency, 0.8, range));
        const long expected = std::lround(0.8 / volts[range] * 2047);
        EXPECT_EQ(*std::max_element(s.begin(), s.end()), expected);
        EXPECT_EQ(*std::min_element(s.begin(), s.end()), -expected);
    }
    // 3.3 V on the ±1 V range clips at the rails.
    const std::vector<int> clipped = Capture(Playing('1', kFrequency, 3.3, 7));
    EXPECT_EQ(*std::max_element(clipped.begin(), clipped.end()), 2047);
    EXPECT_EQ(*std::min_element(clipped.begin(), clipped.end()), -2047);
    EXPECT_GT(std::count(clipped.begin(), clipped.end(), 2047), 400);
}

TEST(SignalSynthTest, NoiseStaysWithinItsBoundsAndRepeatsWithItsSeed) {
    const InstrumentState state = Playing('0', kFrequency, 1.0, 7);
    SignalSynth first(2, 42);
    SignalSynth second(2, 42);
    SignalSynth::Samples a;
    SignalSynth::Samples b;
    first.Capture(state, a);
    second.Capture(state, b);
    EXPECT_EQ(a.channel, b.channel);
    const std::vector<int> s = Channel(a, 0);
    EXPECT_EQ(*std::max_element(s.begin(), s.end()), 2);
    EXPECT_EQ(*std::min_element(s.begin(), s.end()), -2);
}

TEST(SignalSynthTest, TriggerPutsTheCrossingAtTheSyncPosition) {
    for (int source = 0; source < 2; ++source) {
        for (int polarity = 0; polarity < 2; ++polarity) {
            for (const int position : {0, 1, 298, 1024, 2047}) {
                for (const int level : {-700, 0, 500}) {
                    SCOPED_TRACE(testing::Message()
                                 << source << polarity << " " << position << " " << level);
                    InstrumentState state;
                    state.generator[0] = {'1', 1000.0, 1.0};
                    state.generator[1] = {'5', 1700.0, 1.0};
                    state.range = {7, 7};
                    state.syncSource = source;
                    state.syncPolarity = polarity;
                    state.syncPosition = position;
                    state.syncLevel = level;
                    SignalSynth synth(0);
                    SignalSynth::Samples samples;
                    for (int frame = 0; frame < 3; ++frame) {  // from different phases
                        synth.Advance(state, 0.0123);
                        ASSERT_TRUE(synth.Capture(state, samples));
                        const auto& s = samples.channel[source];
                        const int at = s[position];
                        const int before =
                            position == 0 ? (polarity == 0 ? -4096 : 4096) : s[position - 1];
                        if (polarity == 0) {
                            EXPECT_GE(at, level);
                            EXPECT_LT(before, level);
                        } else {
                            EXPECT_LE(at, level);
                            EXPECT_GT(before, level);
                        }
                    }
                }
            }
        }
    }
}

TEST(SignalSynthTest, TriggersOnASquareEdge) {
    InstrumentState state = Playing('7', 300.0, 1.0, 7);
    state.syncSource = 0;
    state.syncPosition = 700;
    const std::vector<int> s = Capture(state);
    EXPECT_EQ(s[699], -2047);
    EXPECT_EQ(s[700], 2047);
}

TEST(SignalSynthTest, RunsFreeWhenTheLevelIsNeverCrossedOrInXYMode) {
    InstrumentState state = Playing('1', kFrequency, 0.1, 7);  // ±205 counts
    state.syncSource = 0;
    state.syncLevel = 1500;
    SignalSynth synth(0);
    SignalSynth::Samples samples;
    EXPECT_FALSE(synth.Capture(state, samples));
    state.generator[0].amplitude = 1.0;
    EXPECT_TRUE(synth.Capture(state, samples));
    state.syncLevel = InstrumentState::kXYLevel;
    EXPECT_FALSE(synth.Capture(state, samples));
}

TEST(SignalSynthTest, FreeRunningWindowMovesWithElapsedTime) {
    const InstrumentState state = Playing('1', kFrequency, 1.0, 7);
    SignalSynth synth(0);
    SignalSynth::Samples before;
    SignalSynth::Samples after;
    synth.Capture(state, before);
    synth.Advance(state, 0.00025);  // a quarter cycle
    synth.Capture(state, after);
    EXPECT_NEAR(after.channel[0][0], 2047, 1);
    EXPECT_NEAR(before.channel[0][0], 0, 1);
}

// A circuit between generator A and channel 2: channel 2 carries the
// circuit's steady-state response, in step with channel 1 however the window
// is triggered. Frequencies of whole periods in the window, so that plain
// correlation measures amplitude and phase.
struct Phasor {
    double amplitude;
    double phase;  // radians
};

Phasor Correlate(const std::array<int16_t, kSamplePairs>& x, double frequency) {
    double re = 0, im = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double angle = 2.0 * M_PI * frequency * static_cast<double>(i) / 102400.0;
        re += x[i] * std::sin(angle);
        im += x[i] * std::cos(angle);
    }
    return {2.0 * std::hypot(re, im) / static_cast<double>(x.size()), std::atan2(im, re)};
}

// The textbook responses: gain (linear) and phase (radians) at `f`.
Phasor Textbook(const CircuitUnderTest& c, double f) {
    const double x = f / c.frequency;
    switch (c.kind) {
        case CircuitUnderTest::Kind::kLowPass:
            return {c.gain / std::sqrt(1 + x * x), -std::atan(x)};
        case CircuitUnderTest::Kind::kHighPass:
            return {c.gain * x / std::sqrt(1 + x * x), M_PI / 2 - std::atan(x)};
        case CircuitUnderTest::Kind::kBandPass: {
            const double b = x / c.q;
            return {c.gain * b / std::hypot(1 - x * x, b), M_PI / 2 - std::atan2(b, 1 - x * x)};
        }
        default:
            return {0, 0};
    }
}

TEST(SignalSynthTest, CircuitUnderTestShapesChannel2) {
    struct Case {
        CircuitUnderTest circuit;
        double frequency;
        int range2;
        int syncSource;
    };
    using K = CircuitUnderTest::Kind;
    const Case cases[] = {
        {{K::kLowPass, 1000, 0, 1}, 100, 7, 0},   {{K::kLowPass, 1000, 0, 1}, 1000, 7, 1},
        {{K::kLowPass, 1000, 0, 1}, 10000, 7, 1}, {{K::kHighPass, 1000, 0, 1}, 200, 7, 0},
        {{K::kHighPass, 1000, 0, 1}, 5000, 7, 1}, {{K::kBandPass, 2000, 5, 1}, 1800, 7, 1},
        {{K::kBandPass, 2000, 5, 1}, 2000, 7, 0}, {{K::kLowPass, 1000, 0, 10}, 100, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.circuit.kind) << " at " << c.frequency
                                        << " Hz, sync " << c.syncSource);
        InstrumentState state = Playing('1', c.frequency, 1.0, 7);
        state.range[1] = c.range2;
        state.syncSource = c.syncSource;
        SignalSynth synth(0, 1, {}, c.circuit);
        SignalSynth::Samples samples;
        ASSERT_TRUE(synth.Capture(state, samples));
        const Phasor in = Correlate(samples.channel[0], c.frequency);
        const Phasor out = Correlate(samples.channel[1], c.frequency);
        const Phasor h = Textbook(c.circuit, c.frequency);
        const double voltsRatio = SignalSynth::FullScaleVolts(c.range2) / 1.0;
        EXPECT_NEAR(out.amplitude * voltsRatio / in.amplitude, h.amplitude, 0.005 * h.amplitude);
        EXPECT_NEAR(std::remainder(out.phase - in.phase - h.phase, 2 * M_PI), 0.0, 0.005);
    }
}

// Harmonics and DC pass through the circuit as well: a 10 % square has a mean
// of -0.8 of its peak, which a low-pass keeps and a high-pass blocks.
TEST(SignalSynthTest, CircuitUnderTestPassesEveryHarmonic) {
    using K = CircuitUnderTest::Kind;
    for (const auto& [kind, mean] : {std::pair{K::kLowPass, -0.8}, std::pair{K::kHighPass, 0.0}}) {
        InstrumentState state = Playing('7', 500, 1.0, 7);
        state.range[1] = 7;
        SignalSynth synth(0, 1, {}, CircuitUnderTest{kind, 2000, 0, 1});
        SignalSynth::Samples samples;
        synth.Capture(state, samples);
        double sum = 0;
        for (const int16_t v : samples.channel[1]) sum += v;
        EXPECT_NEAR(sum / kSamplePairs / 2047.0, mean, 0.01) << static_cast<int>(kind);
    }
}

}  // namespace
}  // namespace velmora
