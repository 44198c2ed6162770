#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora {

// The constant tables of the spectrum: every sine, cosine and bit-reversed
// index the transform needs, so that no trigonometric function runs while
// frames arrive. The tables are built once, during static initialisation of
// the program (before main()) or earlier if another start-up object asks for
// them first; reading them never fails.
class SpectrumTables {
  public:
    // Entries of the sine table over one whole turn, and how far on the
    // cosine of an angle is: a quarter turn.
    static constexpr int kTurnEntries = 4096;
    static constexpr int kCosineOffset = kTurnEntries / 4;
    static constexpr std::size_t kSineEntries = kTurnEntries + kCosineOffset;
    static constexpr std::size_t kBitReverseEntries = kTurnEntries;

    // Entry i is sin(2 pi i / 4096) rounded the way the instrument's tables
    // were written down: to single precision, then to six decimals, then back
    // to the nearest single-precision value. The cosine of 2 pi q / 4096 is
    // entry q + 1024; the table is long enough for q up to 4096.
    static const std::array<float, kSineEntries>& Sine();

    // Entry i is i with its 12 low bits in reverse order.
    static const std::array<int32_t, kBitReverseEntries>& BitReverse();

    // The rounding rule of one sine entry, exposed so the rule can be checked.
    static float RoundSine(double exactSine);
};

}  // namespace velmora
