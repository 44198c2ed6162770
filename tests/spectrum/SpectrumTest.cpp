#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "support/FrameMaker.h"
#include "spectrum/Spectrum.h"
#include "support/ReferenceSpectrum.h"

namespace velmora {
namespace {

using Complex = std::complex<double>;
using testing::MakeFrame;
using testing::Zero;
using testing::ComplexFft;
using testing::ComputeSpectrumStepByStep;
using testing::SplitRealSpectrum;

constexpr double kPi = std::numbers::pi;

// Textbook transform, in double precision: sum of z[m] e^(-2 pi i m k / n).
std::vector<Complex> NaiveDft(const std::vector<Complex>& z) {
    const std::size_t n = z.size();
    std::vector<Complex> out(n);
    for (std::size_t k = 0; k < n; ++k) {
        Complex sum = 0;
        for (std::size_t m = 0; m < n; ++m) {
            sum += z[m] * std::polar(1.0, -2.0 * kPi * static_cast<double>((m * k) % n) / n);
        }
        out[k] = sum;
    }
    return out;
}

// Bins 0..1023 of the windowed 2048-sample spectrum, scaled by 1/1024. The
// window weight steps once every two samples: 1 - cos(2 pi floor(n/2) / 1024).
std::vector<Complex> ExpectedSpectrum(const SampleFrame& frame, int channel) {
    std::vector<Complex> x(2048);
    for (int n = 0; n < 2048; ++n) {
        const double weight = 1.0 - std::cos(2.0 * kPi * (n / 2) / 1024.0);
        x[static_cast<std::size_t>(n)] =
            weight * frame.Sample(static_cast<std::size_t>(n), channel);
    }
    std::vector<Complex> bins = NaiveDft(x);
    bins.resize(1024);
    for (Complex& bin : bins) bin /= 1024.0;
    return bins;
}

Complex Element(const SpectrumBuffer& buffer, std::size_t k) {
    return {buffer[2 * k], buffer[2 * k + 1]};
}

// Compares every bin, allowing the six-decimal twiddles a few parts in a
// million of the largest value. Element 512 is compared as its conjugate.
void ExpectMatchesReference(const SampleFrame& frame, int channel) {
    SpectrumBuffer buffer{};
    ComputeSpectrum(frame, channel, buffer);
    const std::vector<Complex> expected = ExpectedSpectrum(frame, channel);
    double largest = 1.0;
    for (const Complex& bin : expected) largest = std::max(largest, std::abs(bin));
    for (std::size_t k = 0; k < 1024; ++k) {
        const Complex want = k == 512 ? std::conj(expected[k]) : expected[k];
        ASSERT_NEAR(std::abs(Element(buffer, k) - want), 0.0, 2e-5 * largest) << "bin " << k;
    }
}

double Magnitude(const SpectrumBuffer& buffer, std::size_t k) {
    return std::abs(Element(buffer, k));
}

TEST(ComputeSpectrum, SilenceGivesZeros) {
    SpectrumBuffer buffer;
    buffer.fill(123.0f);
    ComputeSpectrum(MakeFrame(Zero, Zero), 0, buffer);
    for (float value : buffer) EXPECT_EQ(value, 0.0f);
}

TEST(ComputeSpectrum, ConstantInput) {
    const SampleFrame frame = MakeFrame([](int) { return int16_t{1000}; }, Zero);
    SpectrumBuffer buffer{};
    ComputeSpectrum(frame, 0, buffer);
    EXPECT_NEAR(buffer[0], 2000.0f, 0.01f);
    EXPECT_EQ(buffer[1], 0.0f);
    EXPECT_NEAR(Magnitude(buffer, 1), 1000.0, 0.1);
    // The window steps once every two samples, which leaves a faint image of
    // bin 0 at the last bin; everything else is near 0.
    for (std::size_t k = 2; k < 1024; ++k) ASSERT_LT(Magnitude(buffer, k), 2.0) << k;
    ExpectMatchesReference(frame, 0);
}

TEST(ComputeSpectrum, CosineOfPeriodEightOnChannelTwo) {
    const SampleFrame frame = MakeFrame(Zero, [](int n) {
        return static_cast<int16_t>(std::lround(1000.0 * std::cos(2.0 * kPi * n / 8.0)));
    });
    SpectrumBuffer buffer{};
    ComputeSpectrum(frame, 1, buffer);
    EXPECT_NEAR(Magnitude(buffer, 256), 1000.0, 1.0);
    EXPECT_NEAR(Magnitude(buffer, 255), 500.0, 1.0);
    EXPECT_NEAR(Magnitude(buffer, 257), 500.0, 1.0);
    EXPECT_LT(Magnitude(buffer, 300), 1.0);
    ExpectMatchesReference(frame, 1);
    ComputeSpectrum(frame, 0, buffer);  // channel 1 holds silence
    EXPECT_EQ(Magnitude(buffer, 256), 0.0);
}

TEST(ComputeSpectrum, SineOnBinHundred) {
    const SampleFrame frame = MakeFrame(
        [](int n) {
            return static_cast<int16_t>(std::lround(1000.0 * std::sin(2.0 * kPi * 100 * n / 2048)));
        },
        Zero);
    SpectrumBuffer buffer{};
    ComputeSpectrum(frame, 0, buffer);
    EXPECT_NEAR(Magnitude(buffer, 100), 1000.0, 1.0);
    EXPECT_NEAR(Magnitude(buffer, 99), 500.0, 1.0);
    EXPECT_NEAR(Magnitude(buffer, 101), 500.0, 1.0);
    ExpectMatchesReference(frame, 0);
}

TEST(ComputeSpectrum, HalfTheSamplingRateShowsAtTheLastBin) {
    const SampleFrame frame =
        MakeFrame([](int n) { return static_cast<int16_t>(n % 2 == 0 ? 1000 : -1000); }, Zero);
    SpectrumBuffer buffer{};
    ComputeSpectrum(frame, 0, buffer);
    EXPECT_NEAR(Magnitude(buffer, 1023), 1000.0, 1.0);
    for (std::size_t k = 0; k < 1022; ++k) ASSERT_LT(Magnitude(buffer, k), 2.0) << k;
    ExpectMatchesReference(frame, 0);
}

TEST(ComputeSpectrum, ElementFiveHundredTwelveIsTheConjugate) {
    const SampleFrame frame = MakeFrame(
        [](int n) {
            return static_cast<int16_t>(
                std::lround(800.0 * std::sin(2.0 * kPi * 512 * n / 2048 + 0.7)));
        },
        Zero);
    SpectrumBuffer buffer{};
    ComputeSpectrum(frame, 0, buffer);
    const Complex textbook = ExpectedSpectrum(frame, 0)[512];
    ASSERT_GT(std::abs(textbook.imag()), 10.0);
    EXPECT_NEAR(buffer[1025], -textbook.imag(), 0.01);
    EXPECT_NEAR(buffer[1024], textbook.real(), 0.01);
}

TEST(ComputeSpectrum, NoisyFramesMatchTheReferenceAndTheStepByStepRoad) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (int trial = 0; trial < 20; ++trial) {
        const SampleFrame frame =
            MakeFrame([&](int) { return static_cast<int16_t>(sample(random)); },
                      [&](int) { return static_cast<int16_t>(sample(random)); });
        for (int channel = 0; channel < 2; ++channel) {
            SpectrumBuffer fast{}, literal{};
            ComputeSpectrum(frame, channel, fast);
            ComputeSpectrumStepByStep(frame, channel, literal);
            ASSERT_EQ(std::memcmp(fast.data(), literal.data(), sizeof fast), 0)
                << "trial " << trial << " channel " << channel;
            EXPECT_EQ(fast[1], 0.0f);
            if (trial < 2) ExpectMatchesReference(frame, channel);
        }
    }
}

std::vector<float> RandomComplex(std::size_t points, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-1000.0f, 1000.0f);
    std::vector<float> data(2 * points);
    for (float& v : data) v = value(random);
    return data;
}

void ExpectTransformOfFirst(const std::vector<float>& before, const std::vector<float>& after,
                            std::size_t size) {
    std::vector<Complex> z(size);
    for (std::size_t m = 0; m < size; ++m) z[m] = {before[2 * m], before[2 * m + 1]};
    const std::vector<Complex> want = NaiveDft(z);
    for (std::size_t k = 0; k < size; ++k) {
        ASSERT_NEAR(std::abs(Complex(after[2 * k], after[2 * k + 1]) - want[k]), 0.0,
                    1e-5 * 1000.0 * static_cast<double>(size))
            << "element " << k;
    }
    for (std::size_t i = 2 * size; i < before.size(); ++i) ASSERT_EQ(after[i], before[i]);
}

TEST(ComplexFft, SizeIsTheLargestPowerOfTwoNotAboveN) {
    const std::vector<float> input = RandomComplex(1000, 1);
    std::vector<float> data = input;
    ComplexFft(data.data(), 1000);  // transforms the first 512 elements only
    ExpectTransformOfFirst(input, data, 512);
}

TEST(ComplexFft, SizeIsCappedAt4096) {
    const std::vector<float> input = RandomComplex(5000, 2);
    std::vector<float> data = input;
    ComplexFft(data.data(), 5000);
    ExpectTransformOfFirst(input, data, 4096);
}

TEST(ComplexFft, SmallSizes) {
    for (int n : {1, 2, 4, 8, 64}) {
        const std::vector<float> input = RandomComplex(static_cast<std::size_t>(n), 3);
        std::vector<float> data = input;
        ComplexFft(data.data(), n);
        ExpectTransformOfFirst(input, data, static_cast<std::size_t>(n));
    }
}

TEST(SplitRealSpectrum, GivesTheRealSequencesSpectrumForSmallSizes) {
    for (int n : {2, 8, 256}) {
        const std::size_t size = static_cast<std::size_t>(n);
        std::vector<float> data = RandomComplex(size, 4);
        std::vector<Complex> real(2 * size);
        for (std::size_t i = 0; i < 2 * size; ++i) real[i] = data[i];
        const std::vector<Complex> want = NaiveDft(real);
        ComplexFft(data.data(), n);
        SplitRealSpectrum(data.data(), n);
        for (std::size_t k = 0; k < size; ++k) {
            const Complex expected = k == size / 2 ? std::conj(want[k]) : want[k];
            ASSERT_NEAR(std::abs(Complex(data[2 * k], data[2 * k + 1]) - expected), 0.0,
                        0.05 * static_cast<double>(n))
                << "n " << n << " bin " << k;
        }
        EXPECT_EQ(data[1], 0.0f);
    }
}

}  // namespace
}  // namespace velmora
