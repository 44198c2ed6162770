#include "spectrum/SpectrumKernel.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#include "spectrum/SpectrumTables.h"

// The hot loops are compiled for several instruction sets and the best one the
// processor offers is chosen when the program loads. The file is compiled
// without contraction into fused multiply-adds (see the pragma below), which
// would change the rounding of the products. Windows executables have no
// load-time resolver (ifunc), so there the default instruction set is used.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && !defined(_WIN32)
#define VELMORA_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define VELMORA_VECTOR_CLONES
#endif

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("fp-contract=off")
// Vectors wider than the default instruction set only pass between inlined
// helpers, so the calling-convention note about them does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"
#elif defined(__clang__)
#pragma clang fp contract(off)
#pragma clang diagnostic ignored "-Wpsabi"
#endif

namespace velmora {

namespace {

static_assert(std::endian::native == std::endian::little, "frames are read as native words");

using V4 = float __attribute__((vector_size(16)));
using V8 = float __attribute__((vector_size(32)));
using I4 = int __attribute__((vector_size(16)));

// Lanes A..D of the two vectors side by side (0..3 from `a`, 4..7 from `b`).
// GCC and clang spell the shuffle differently; the lanes mean the same.
template <int A, int B, int C, int D, typename V>
inline V Shuffle(V a, V b) {
#if defined(__clang__)
    return __builtin_shufflevector(a, b, A, B, C, D);
#else
    return __builtin_shuffle(a, b, I4{A, B, C, D});
#endif
}

template <typename V>
inline V Reverse(V a) {
    return Shuffle<3, 2, 1, 0>(a, a);
}

constexpr int kPoints = kSpectrumBins;  // complex points of the transform
// The step through the tables, which hold one whole turn.
constexpr int kStride = SpectrumTables::kTurnEntries / kPoints;
constexpr int kCosine = SpectrumTables::kCosineOffset;
constexpr int kGroup = 16;     // points per group in the last four stages
constexpr int kTailPasses = kPoints / (4 * kGroup);
constexpr int kTailBlocks = 15;  // blocks a group meets: 1 + 2 + 4 + 8
constexpr float kScale = kSpectrumScale;

// Twiddles of the last four stages for one pass over four groups of sixteen
// points: entry 0 for half-span 8, 1-2 for half-span 4, 3-6 for half-span 2,
// 7-14 for half-span 1; lane k belongs to group groups[k].
struct TailTwiddles {
    int groups[4] = {};
    V4 cos[kTailBlocks] = {};
    V4 sin[kTailBlocks] = {};
};

// Everything read from SpectrumTables, rearranged for the loops below.
struct KernelTables {
    std::array<float, kPoints> window{};        // cos(2 pi k / 1024)
    std::array<float, kPoints / 2> blockCos{};  // twiddle of block b, any stage
    std::array<float, kPoints / 2> blockSin{};
    std::array<TailTwiddles, kTailPasses> tail{};
    std::array<float, kPoints> splitCos{};  // cos and sin of pi m / 1024
    std::array<float, kPoints> splitSin{};
};

void FillTail(KernelTables& t, const std::array<int32_t, SpectrumTables::kBitReverseEntries>& reverse) {
    for (int pass = 0; pass < kTailPasses; ++pass) {
        TailTwiddles& tail = t.tail[static_cast<std::size_t>(pass)];
        for (int lane = 0; lane < 4; ++lane) {
            // The group g with rev6(g) = 4 pass + lane. Its blocks in the last
            // four stages are g; 2g, 2g+1; 4g .. 4g+3; 8g .. 8g+7.
            const int g = reverse[static_cast<std::size_t>((4 * pass + lane) << 6)];
            tail.groups[lane] = g;
            for (int i = 0; i < kTailBlocks; ++i) {
                const int level = i < 1 ? 1 : i < 3 ? 2 : i < 7 ? 4 : 8;
                const auto block = static_cast<std::size_t>(level * g + (i + 1 - level));
                tail.cos[i][lane] = t.blockCos[block];
                tail.sin[i][lane] = t.blockSin[block];
            }
        }
    }
}

KernelTables MakeTables() {
    const auto& sine = SpectrumTables::Sine();
    const auto& reverse = SpectrumTables::BitReverse();
    KernelTables t;
    for (std::size_t k = 0; k < kPoints; ++k) {
        t.window[k] = sine[kCosine + 4 * k];
        const std::size_t at = k * kStride / 2;
        t.splitCos[k] = sine[at + kCosine];
        t.splitSin[k] = sine[at];
    }
    // Block b starts at f = 2hb in every stage and (f >> log2 h) is 2b, so the
    // twiddle the transform looks up for a block does not depend on the stage.
    for (std::size_t b = 0; b < kPoints / 2; ++b) {
        const auto q = static_cast<std::size_t>(reverse[2 * b * kStride] * kStride);
        t.blockCos[b] = sine[q + kCosine];
        t.blockSin[b] = sine[q];
    }
    FillTail(t, reverse);
    return t;
}

const KernelTables& Tables() {
    static const KernelTables tables = MakeTables();
    return tables;
}

// Built during static initialisation, so no frame waits for them.
[[maybe_unused]] const bool kTablesReady = (Tables(), true);

// Real and imaginary parts apart, so that a vector holds like values.
struct alignas(64) Work {
    float re[kPoints];
    float im[kPoints];
};

template <typename V>
inline V Load(const float* from) {
    V v;
    std::memcpy(&v, from, sizeof v);
    return v;
}

template <typename V>
inline void Store(float* to, V v) {
    std::memcpy(to, &v, sizeof v);
}

// Butterflies on vectors: the twiddle multiplies the second input by
// cos - i sin, then sum and difference. Each lane is one butterfly and sees
// exactly the operations of the scalar butterfly.
template <typename V>
inline void Butterflies(V& ar, V& ai, V& br, V& bi, const V& cs, const V& sn) {
    const V r = cs * br + sn * bi;
    const V u = cs * bi - sn * br;
    br = ar - r;
    bi = ai - u;
    ar = ar + r;
    ai = ai + u;
}

// Copies one channel, even samples to the real parts and odd samples to the
// imaginary parts, and applies the window. A pair is one little-endian 32-bit
// word: channel 1 in its low half, channel 2 in its high half.
VELMORA_VECTOR_CLONES
void LoadWindowed(const KernelTables& tables, const SampleFrame& frame, int channel, Work& w) {
    const uint8_t* bytes = frame.samples.data();
    const int lowShift = channel == 0 ? 16 : 0;
    for (int k = 0; k < kPoints; k += 4) {
        I4 lo, hi;  // pairs 2k .. 2k+3 and 2k+4 .. 2k+7
        std::memcpy(&lo, bytes + 8 * k, sizeof lo);
        std::memcpy(&hi, bytes + 8 * k + 16, sizeof hi);
        const I4 even = Shuffle<0, 2, 4, 6>(lo, hi);
        const I4 odd = Shuffle<1, 3, 5, 7>(lo, hi);
        const V4 v0 = __builtin_convertvector((even << lowShift) >> 16, V4);
        const V4 v1 = __builtin_convertvector((odd << lowShift) >> 16, V4);
        const V4 cs = Load<V4>(tables.window.data() + k);
        Store(w.re + k, v0 - v0 * cs);
        Store(w.im + k, v1 - v1 * cs);
    }
}

inline V8 Splat(float value) { return V8{} + value; }

// Two stages in one sweep: block b of half-span `half`, then its two halves
// (blocks 2b and 2b+1 of the next stage), eight butterflies per vector.
inline void TwoStages(const KernelTables& tables, Work& w, int half, int b) {
    const int quarter = half / 2;
    const auto blk = static_cast<std::size_t>(b);
    const V8 c0 = Splat(tables.blockCos[blk]), s0 = Splat(tables.blockSin[blk]);
    const V8 c1 = Splat(tables.blockCos[2 * blk]), s1 = Splat(tables.blockSin[2 * blk]);
    const V8 c2 = Splat(tables.blockCos[2 * blk + 1]), s2 = Splat(tables.blockSin[2 * blk + 1]);
    for (int j = 2 * half * b; j < 2 * half * b + quarter; j += 8) {
        float* r = w.re + j;
        float* i = w.im + j;
        V8 r0 = Load<V8>(r), r1 = Load<V8>(r + quarter);
        V8 r2 = Load<V8>(r + half), r3 = Load<V8>(r + half + quarter);
        V8 i0 = Load<V8>(i), i1 = Load<V8>(i + quarter);
        V8 i2 = Load<V8>(i + half), i3 = Load<V8>(i + half + quarter);
        Butterflies(r0, i0, r2, i2, c0, s0);
        Butterflies(r1, i1, r3, i3, c0, s0);
        Butterflies(r0, i0, r1, i1, c1, s1);
        Butterflies(r2, i2, r3, i3, c2, s2);
        Store(r, r0), Store(r + quarter, r1), Store(r + half, r2), Store(r + half + quarter, r3);
        Store(i, i0), Store(i + quarter, i1), Store(i + half, i2), Store(i + half + quarter, i3);
    }
}

// Stages with half-span 512 down to 16, two at a time: within a stage the
// butterflies are independent, so a block may finish both of its stages
// before the next block starts.
VELMORA_VECTOR_CLONES
void WideStages(const KernelTables& tables, Work& w) {
    for (int half = kPoints / 2; half >= 2 * kGroup; half /= 4) {
        for (int b = 0; b < kPoints / (2 * half); ++b) {
            TwoStages(tables, w, half, b);
        }
    }
}

inline void Transpose(V4& a, V4& b, V4& c, V4& d) {
    const V4 ab0 = Shuffle<0, 4, 1, 5>(a, b);
    const V4 ab1 = Shuffle<2, 6, 3, 7>(a, b);
    const V4 cd0 = Shuffle<0, 4, 1, 5>(c, d);
    const V4 cd1 = Shuffle<2, 6, 3, 7>(c, d);
    a = Shuffle<0, 1, 4, 5>(ab0, cd0);
    b = Shuffle<2, 3, 6, 7>(ab0, cd0);
    c = Shuffle<0, 1, 4, 5>(ab1, cd1);
    d = Shuffle<2, 3, 6, 7>(ab1, cd1);
}

// Lane k of v[c] becomes point c of group groups[k].
inline void LoadGroups(const float* from, const int* groups, V4 (&v)[kGroup]) {
    for (int quad = 0; quad < kGroup; quad += 4) {
        for (int k = 0; k < 4; ++k) {
            v[quad + k] = Load<V4>(from + kGroup * groups[k] + quad);
        }
        Transpose(v[quad], v[quad + 1], v[quad + 2], v[quad + 3]);
    }
}

// Point c of the pass's groups belongs at 64 rev4(c) + 4 pass + lane.
inline void StoreGroups(float* to, int pass, const V4 (&v)[kGroup]) {
    constexpr int kRev4[kGroup] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
    for (int c = 0; c < kGroup; ++c) {
        Store(to + (kPoints / kGroup) * kRev4[c] + 4 * pass, v[c]);
    }
}

// The last four stages (half-spans 8, 4, 2, 1) stay inside groups of sixteen
// points. Four groups are taken at once and transposed, so every butterfly is
// between two whole vectors. The groups of a pass are chosen so that their
// results, which the stages leave in bit-reversed order, land side by side in
// natural order: this pass also does the reordering, into `out`.
VELMORA_VECTOR_CLONES
void TailStages(const KernelTables& tables, const Work& w, Work& out) {
    for (int pass = 0; pass < kTailPasses; ++pass) {
        const TailTwiddles& t = tables.tail[static_cast<std::size_t>(pass)];
        V4 re[kGroup], im[kGroup];
        LoadGroups(w.re, t.groups, re);
        LoadGroups(w.im, t.groups, im);
        // Half-span h: the blocks are 2h points long; block c / 2h of the group
        // uses twiddle entry (blocks before this stage) + c / 2h.
#pragma GCC unroll 4
        for (int half = kGroup / 2, first = 0; half >= 1; first += kGroup / (2 * half), half /= 2) {
#pragma GCC unroll 16
            for (int c = 0; c < kGroup; ++c) {
                if ((c & half) == 0) {
                    const int e = first + c / (2 * half);
                    Butterflies(re[c], im[c], re[c + half], im[c + half], t.cos[e], t.sin[e]);
                }
            }
        }
        StoreGroups(out.re, pass, re);
        StoreGroups(out.im, pass, im);
    }
}

// One pair (j, p = 1024 - j) of the separation into the real spectrum, scaled.
inline void SplitOne(const KernelTables& tables, const Work& w, int j, SpectrumBuffer& out) {
    const int p = (kPoints - j) & (kPoints - 1);
    const float sr = w.re[j] + w.re[p], si = w.im[j] + w.im[p];
    const float dr = w.re[j] - w.re[p], di = w.im[j] - w.im[p];
    const auto tj = static_cast<std::size_t>(j), tp = static_cast<std::size_t>(p);
    const float cj = tables.splitCos[tj], sj = tables.splitSin[tj];
    const float cp = tables.splitCos[tp], sp = tables.splitSin[tp];
    if (j != 0) {  // for j = 0 both results land on element 0 and the second stands
        out[2 * tj] = 0.5f * (sr + cj * si - sj * dr) * kScale;
        out[2 * tj + 1] = 0.5f * (di - sj * si - cj * dr) * kScale;
    }
    out[2 * tp] = 0.5f * (sr + cp * si + sp * dr) * kScale;
    out[2 * tp + 1] = 0.5f * (cp * dr - di - sp * si) * kScale;
}

// Four pairs at once: j .. j+3 and their mirrors 1024-j .. 1021-j.
inline void SplitFour(const KernelTables& tables, const Work& w, int j, SpectrumBuffer& out) {
    const int p = kPoints - j - 3;  // the lowest of the four mirrors
    const V4 are = Load<V4>(w.re + j), aim = Load<V4>(w.im + j);
    const V4 bre = Reverse(Load<V4>(w.re + p));
    const V4 bim = Reverse(Load<V4>(w.im + p));
    const V4 sr = are + bre, si = aim + bim, dr = are - bre, di = aim - bim;
    const V4 cj = Load<V4>(tables.splitCos.data() + j);
    const V4 sj = Load<V4>(tables.splitSin.data() + j);
    const V4 cp = Reverse(Load<V4>(tables.splitCos.data() + p));
    const V4 sp = Reverse(Load<V4>(tables.splitSin.data() + p));
    const V4 half = V4{} + 0.5f, scale = V4{} + kScale;
    const V4 jr = half * (sr + cj * si - sj * dr) * scale;
    const V4 ji = half * (di - sj * si - cj * dr) * scale;
    const V4 pr = Reverse(half * (sr + cp * si + sp * dr) * scale);
    const V4 pi = Reverse(half * (cp * dr - di - sp * si) * scale);
    float* o = out.data();
    Store(o + 2 * j, Shuffle<0, 4, 1, 5>(jr, ji));
    Store(o + 2 * j + 4, Shuffle<2, 6, 3, 7>(jr, ji));
    Store(o + 2 * p, Shuffle<0, 4, 1, 5>(pr, pi));
    Store(o + 2 * p + 4, Shuffle<2, 6, 3, 7>(pr, pi));
}

VELMORA_VECTOR_CLONES
void SplitAndScale(const KernelTables& tables, const Work& w, SpectrumBuffer& out) {
    SplitOne(tables, w, 0, out);
    int j = 1;
    for (; j + 4 <= kPoints / 2; j += 4) {
        SplitFour(tables, w, j, out);
    }
    for (; j < kPoints / 2; ++j) {
        SplitOne(tables, w, j, out);
    }
    // Element 512 belongs to no pair and keeps the transform's value.
    out[kPoints] = w.re[kPoints / 2] * kScale;
    out[kPoints + 1] = w.im[kPoints / 2] * kScale;
}

}  // namespace

void SpectrumKernel::Run(const SampleFrame& frame, int channel, SpectrumBuffer& out) {
    Work stages;
    Work natural;
    const KernelTables& tables = Tables();
    LoadWindowed(tables, frame, channel == 0 ? 0 : 1, stages);
    WideStages(tables, stages);
    TailStages(tables, stages, natural);
    SplitAndScale(tables, natural, out);
}

}  // namespace velmora
