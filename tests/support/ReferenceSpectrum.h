#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "link/FrameFormat.h"
#include "spectrum/Spectrum.h"
#include "spectrum/SpectrumTables.h"

// Products are rounded to single precision before they are summed, never
// fused into one multiply-add, so this road and the kernel agree bit for bit.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC push_options
#pragma GCC optimize("fp-contract=off")
#elif defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace velmora::testing {

// The spectrum computed literally step by step in the buffer: copy, window,
// complex transform, split into the real sequence's spectrum, scale. Slow and
// plain; it is the yardstick the program's vectorised kernel is held to.
namespace reference {

// The transform size M and the table stride 2^s: M is the largest power of two
// not above n (capped at the table's size), and 2^s * M = that size, so one
// table serves all sizes.
struct FftSize {
    int size = 1;
    int log2 = 0;
    int stride = SpectrumTables::kTurnEntries;
};

inline FftSize SizeFor(int n) {
    constexpr int kTurn = SpectrumTables::kTurnEntries;
    FftSize result;
    int shift = 0;
    while (shift < 12 && static_cast<int64_t>(n) * (int64_t{1} << shift) < kTurn) ++shift;
    result.stride = 1 << shift;
    result.size = kTurn >> shift;
    result.log2 = 12 - shift;
    return result;
}

inline void Butterflies(float* data, int first, int half, float cs, float sn) {
    float* a = data + 2 * first;
    float* b = a + 2 * half;
    for (int k = 0; k < 2 * half; k += 2) {
        const float ur = b[k];
        const float ui = b[k + 1];
        const float r = cs * ur + sn * ui;
        const float u = cs * ui - sn * ur;
        b[k] = a[k] - r;
        b[k + 1] = a[k + 1] - u;
        a[k] += r;
        a[k + 1] += u;
    }
}

inline void Reorder(float* data, const FftSize& size) {
    const auto& reverse = SpectrumTables::BitReverse();
    for (int g = 0; g < size.size; ++g) {
        const int rv = reverse[static_cast<std::size_t>(g * size.stride)];
        if (rv > g) {
            std::swap(data[2 * g], data[2 * rv]);
            std::swap(data[2 * g + 1], data[2 * rv + 1]);
        }
    }
}

}  // namespace reference

// Forward complex FFT in place on interleaved values; the size is the largest
// power of two not above n, capped at 4096. Output in natural order, unscaled.
inline void ComplexFft(float* buffer, int n) {
    using namespace reference;
    constexpr int kCos = SpectrumTables::kCosineOffset;
    const FftSize size = SizeFor(n);
    const auto& sine = SpectrumTables::Sine();
    const auto& reverse = SpectrumTables::BitReverse();
    for (int stage = 0; stage < size.log2; ++stage) {
        const int half = size.size >> (stage + 1);
        const int shift = size.log2 - 1 - stage;
        for (int first = 0; first < size.size - 1; first += 2 * half) {
            // Every butterfly of a block shares one twiddle factor.
            const int q =
                reverse[static_cast<std::size_t>((first >> shift) * size.stride)] * size.stride;
            Butterflies(buffer, first, half, sine[static_cast<std::size_t>(q + kCos)],
                        sine[static_cast<std::size_t>(q)]);
        }
    }
    Reorder(buffer, size);
}

// Turns the n-point transform of z[m] = x[2m] + i x[2m+1] into bins 0..n-1 of
// the 2n-point transform of the real sequence x, in place.
inline void SplitRealSpectrum(float* buffer, int n) {
    constexpr std::size_t kCos = SpectrumTables::kCosineOffset;
    const reference::FftSize size = reference::SizeFor(n);
    const auto& sine = SpectrumTables::Sine();
    for (int j = 0; j < size.size / 2; ++j) {
        const int p = (size.size - j) % size.size;
        const std::size_t tj = static_cast<std::size_t>(j * size.stride / 2);
        const std::size_t tp = static_cast<std::size_t>(p * size.stride / 2);
        const float cj = sine[tj + kCos], sj = sine[tj];
        const float cp = sine[tp + kCos], sp = sine[tp];
        const float are = buffer[2 * j], aim = buffer[2 * j + 1];
        const float bre = buffer[2 * p], bim = buffer[2 * p + 1];
        const float sr = are + bre, si = aim + bim;
        const float dr = are - bre, di = aim - bim;
        buffer[2 * j] = 0.5f * (sr + cj * si - sj * dr);
        buffer[2 * j + 1] = 0.5f * (di - sj * si - cj * dr);
        buffer[2 * p] = 0.5f * (sr + cp * si + sp * dr);
        buffer[2 * p + 1] = 0.5f * (cp * dr - di - sp * si);
    }
}

inline void ComputeSpectrumStepByStep(const SampleFrame& frame, int channel,
                                      SpectrumBuffer& buffer) {
    const int source = channel == 0 ? 0 : 1;
    for (std::size_t n = 0; n < buffer.size(); ++n) {
        buffer[n] = static_cast<float>(frame.Sample(n, source));
    }
    // Raised-cosine window, one weight per complex element (two samples).
    const auto& sine = SpectrumTables::Sine();
    for (std::size_t k = 0; k < buffer.size() / 2; ++k) {
        const float cs = sine[SpectrumTables::kCosineOffset + 4 * k];
        buffer[2 * k] -= buffer[2 * k] * cs;
        buffer[2 * k + 1] -= buffer[2 * k + 1] * cs;
    }
    ComplexFft(buffer.data(), kSpectrumBins);
    SplitRealSpectrum(buffer.data(), kSpectrumBins);
    for (float& value : buffer) value *= kSpectrumScale;
}

}  // namespace velmora::testing

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC pop_options
#endif
