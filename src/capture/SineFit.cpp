#include "capture/SineFit.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace velmora {
namespace {

using Row = std::array<double, 4>;  // three coefficients and the right-hand side

// Solves the 3 x 3 normal equations by Gaussian elimination with partial
// pivoting; false when they are singular.
bool Solve(std::array<Row, 3>& m, std::array<double, 3>& x) {
    for (std::size_t col = 0; col < 3; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < 3; ++r) {
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        }
        if (!(std::fabs(m[pivot][col]) > 1e-12)) return false;
        std::swap(m[col], m[pivot]);
        for (std::size_t r = col + 1; r < 3; ++r) {
            const double factor = m[r][col] / m[col][col];
            for (std::size_t c = col; c < 4; ++c) m[r][c] -= factor * m[col][c];
        }
    }
    for (std::size_t k = 3; k-- > 0;) {
        double sum = m[k][3];
        for (std::size_t c = k + 1; c < 3; ++c) sum -= m[k][c] * x[c];
        x[k] = sum / m[k][k];
    }
    return true;
}

}  // namespace

// The model is s * sin + c * cos + offset; its normal equations sum the
// products of the three basis functions and of each with the samples.
SineFit FitSine(const SampleFrame& frame, int channel, double frequencyHz, double sampleRateHz) {
    SineFit fit;
    if (!(frequencyHz > 0.0) || !(sampleRateHz > 0.0)) return fit;
    const double step = 2.0 * std::numbers::pi * frequencyHz / sampleRateHz;
    std::array<Row, 3> m{};
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        const double angle = step * static_cast<double>(i);
        const double s = std::sin(angle), c = std::cos(angle);
        const int sample = frame.Sample(i, channel);
        const double y = sample;
        if (std::abs(sample) >= kFullScaleCounts) fit.clipped = true;
        const std::array<double, 3> basis = {s, c, 1.0};
        for (std::size_t r = 0; r < 3; ++r) {
            for (std::size_t k = 0; k < 3; ++k) m[r][k] += basis[r] * basis[k];
            m[r][3] += basis[r] * y;
        }
    }
    std::array<double, 3> x{};
    if (!Solve(m, x)) return fit;
    fit.amplitude = std::hypot(x[0], x[1]);
    fit.phase = std::atan2(x[1], x[0]);
    fit.offset = x[2];
    double squares = 0.0;
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        const double angle = step * static_cast<double>(i);
        const double model = x[0] * std::sin(angle) + x[1] * std::cos(angle) + x[2];
        const double r = frame.Sample(i, channel) - model;
        squares += r * r;
    }
    fit.residualRms = std::sqrt(squares / static_cast<double>(kSamplePairs));
    return fit;
}

}  // namespace velmora
