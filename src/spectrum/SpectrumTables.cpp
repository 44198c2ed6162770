#include "spectrum/SpectrumTables.h"

#include <cmath>
#include <numbers>

namespace velmora {

namespace {

std::array<float, SpectrumTables::kSineEntries> MakeSine() {
    std::array<float, SpectrumTables::kSineEntries> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const double angle =
            2.0 * std::numbers::pi * static_cast<double>(i) / SpectrumTables::kTurnEntries;
        table[i] = SpectrumTables::RoundSine(std::sin(angle));
    }
    return table;
}

std::array<int32_t, SpectrumTables::kBitReverseEntries> MakeBitReverse() {
    std::array<int32_t, SpectrumTables::kBitReverseEntries> table{};
    for (uint32_t i = 0; i < table.size(); ++i) {
        uint32_t reversed = 0;
        for (int bit = 0; bit < 12; ++bit) {
            reversed |= ((i >> bit) & 1u) << (11 - bit);
        }
        table[i] = static_cast<int32_t>(reversed);
    }
    return table;
}

}  // namespace

float SpectrumTables::RoundSine(double exactSine) {
    // A float times 1e6 needs at most 24 + 14 significant bits, so the product
    // is exact in double and the rounding to six decimals is exact too. The
    // six-decimal count (at most 1e6) is exact in float, and one correctly
    // rounded float division then gives the float nearest to count / 1e6.
    const float single = static_cast<float>(exactSine);
    const double micros = std::round(static_cast<double>(single) * 1.0e6);
    return static_cast<float>(micros) / 1.0e6f;
}

namespace {

struct Tables {
    std::array<float, SpectrumTables::kSineEntries> sine = MakeSine();
    std::array<int32_t, SpectrumTables::kBitReverseEntries> bitReverse = MakeBitReverse();
};

// A function-local static, so that other start-up objects built from these
// tables (in whatever order the linker runs them) find them complete.
const Tables& Built() {
    static const Tables tables;
    return tables;
}

// Built during static initialisation: the first frame finds them ready.
[[maybe_unused]] const bool kTablesReady = (Built(), true);

}  // namespace

const std::array<float, SpectrumTables::kSineEntries>& SpectrumTables::Sine() {
    return Built().sine;
}

const std::array<int32_t, SpectrumTables::kBitReverseEntries>& SpectrumTables::BitReverse() {
    return Built().bitReverse;
}

}  // namespace velmora
