#include "acquisition/Spectrum.h"

#include <cstdint>
#include <utility>

#include "acquisition/SpectrumKernel.h"
#include "acquisition/SpectrumTables.h"

// Products are rounded to single precision before they are summed, never
// fused into one multiply-add, so both roads of the spectrum agree bit for bit.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("fp-contract=off")
#elif defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace velmora {

namespace {

constexpr int kTableSize = 4096;
constexpr int kCosineOffset = 1024;
constexpr float kScale = 0.0009765625f;  // 1/1024, fixed whatever the size

// The transform size M and the table stride 2^s: M is the largest power of two
// not above n (capped at 4096), and 2^s * M = 4096 so one table serves all sizes.
struct FftSize {
    int size = 1;             // M
    int log2 = 0;             // L
    int stride = kTableSize;  // 2^s
};

FftSize SizeFor(int n) {
    FftSize result;
    int shift = 0;
    while (shift < 12 && static_cast<int64_t>(n) * (int64_t{1} << shift) < kTableSize) {
        ++shift;
    }
    result.stride = 1 << shift;
    result.size = kTableSize >> shift;
    result.log2 = 12 - shift;
    return result;
}

void Butterflies(float* data, int first, int half, float cs, float sn) {
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

void Reorder(float* data, const FftSize& size) {
    const auto& reverse = SpectrumTables::BitReverse();
    for (int g = 0; g < size.size; ++g) {
        const int rv = reverse[static_cast<std::size_t>(g * size.stride)];
        if (rv > g) {
            std::swap(data[2 * g], data[2 * rv]);
            std::swap(data[2 * g + 1], data[2 * rv + 1]);
        }
    }
}

}  // namespace

void ComplexFft(float* buffer, int n) {
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
            const float cs = sine[static_cast<std::size_t>(q + kCosineOffset)];
            const float sn = sine[static_cast<std::size_t>(q)];
            Butterflies(buffer, first, half, cs, sn);
        }
    }
    Reorder(buffer, size);
}

void SplitRealSpectrum(float* buffer, int n) {
    const FftSize size = SizeFor(n);
    const auto& sine = SpectrumTables::Sine();
    for (int j = 0; j < size.size / 2; ++j) {
        const int p = (size.size - j) % size.size;
        const std::size_t tj = static_cast<std::size_t>(j * size.stride / 2);
        const std::size_t tp = static_cast<std::size_t>(p * size.stride / 2);
        const float cj = sine[tj + kCosineOffset];
        const float sj = sine[tj];
        const float cp = sine[tp + kCosineOffset];
        const float sp = sine[tp];
        const float are = buffer[2 * j];
        const float aim = buffer[2 * j + 1];
        const float bre = buffer[2 * p];
        const float bim = buffer[2 * p + 1];
        const float sr = are + bre;
        const float si = aim + bim;
        const float dr = are - bre;
        const float di = aim - bim;
        buffer[2 * j] = 0.5f * (sr + cj * si - sj * dr);
        buffer[2 * j + 1] = 0.5f * (di - sj * si - cj * dr);
        buffer[2 * p] = 0.5f * (sr + cp * si + sp * dr);
        buffer[2 * p + 1] = 0.5f * (cp * dr - di - sp * si);
    }
}

void ComputeSpectrum(const SampleFrame& frame, int channel, SpectrumBuffer& buffer) {
    // The same steps as below, run on the vector units; identical results.
    SpectrumKernel::Run(frame, channel, buffer);
}

void ComputeSpectrumStepByStep(const SampleFrame& frame, int channel, SpectrumBuffer& buffer) {
    const int source = channel == 0 ? 0 : 1;
    for (std::size_t n = 0; n < buffer.size(); ++n) {
        buffer[n] = static_cast<float>(frame.Sample(n, source));
    }
    // Raised-cosine window, one weight per complex element (two samples).
    const auto& sine = SpectrumTables::Sine();
    for (std::size_t k = 0; k < buffer.size() / 2; ++k) {
        const float cs = sine[kCosineOffset + 4 * k];
        buffer[2 * k] -= buffer[2 * k] * cs;
        buffer[2 * k + 1] -= buffer[2 * k + 1] * cs;
    }
    ComplexFft(buffer.data(), 1024);
    SplitRealSpectrum(buffer.data(), 1024);
    for (float& value : buffer) {
        value *= kScale;
    }
}

}  // namespace velmora
