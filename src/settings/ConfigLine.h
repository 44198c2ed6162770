#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "system/SettingsStore.h"

namespace velmora {

// Longest line of the settings file that one read takes, in text characters.
inline constexpr std::size_t kConfigLineChars = 90;

// One line of the settings file as read: text characters only (0x20..0x7F),
// zero-terminated.
struct ConfigLine {
    char text[kConfigLineChars + 1] = {};
    std::size_t length = 0;
    bool cut = false;  // the budget ended the text, not a control byte
};

// Reads one line: skips control bytes (every byte outside 0x20..0x7F, so CR,
// LF and bytes of 0x80 and above), takes text up to the next control byte,
// which is consumed. The skipped bytes, the text and the ending byte share a
// budget of 90 bytes; text that does not fit ends the line and the next read
// goes on with the very next byte. 90 control bytes in a row give an empty
// line. Nothing when the file ends before the line's first text character.
std::optional<ConfigLine> ReadConfigLine(SettingsReader& file);

// The number from the seventh character on (right after the 6-character
// key): blanks skipped, an optional sign, decimal digits up to the first
// other character; no digits give 0, as does a line shorter than 7
// characters. Longer digit strings wrap modulo 2^32.
int32_t ConfigLineValue(const ConfigLine& line);

// What follows the number and the blanks after it: the port line's path.
// Empty when nothing does.
std::string ConfigLinePath(const ConfigLine& line);

}  // namespace velmora
