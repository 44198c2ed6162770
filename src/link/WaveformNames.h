#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace velmora {

// The generator's waveforms as command lines spell them, in the order of the
// generator's waveform list: name i is sent as the character '1' + i (the
// list's first entry, '0', is "off" and has no name here).
inline constexpr std::array<std::string_view, 8> kWaveformNames = {
    "sine",     "cosine",   "saw-rising", "saw-falling", "saw-symmetrical",
    "square50", "square10", "square90"};

// The command character of a waveform name ('1'..'8'), or '\0' for a name
// that is none of them. Exact and case-sensitive, as the names are printed.
constexpr char WaveformCharacter(std::string_view name) {
    for (std::size_t i = 0; i < kWaveformNames.size(); ++i) {
        if (kWaveformNames[i] == name) return static_cast<char>('1' + i);
    }
    return '\0';
}

}  // namespace velmora
