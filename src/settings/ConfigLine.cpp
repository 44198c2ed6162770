#include "settings/ConfigLine.h"

namespace velmora {
namespace {

constexpr int kLineBudget = 89;
constexpr std::size_t kKeyChars = 6;

bool IsTextChar(uint8_t byte) { return byte >= 0x20 && byte <= 0x7F; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where the number after the key begins (blanks skipped) and ends.
std::size_t SkipBlanks(const ConfigLine& line, std::size_t at) {
    while (at < line.length && line.text[at] == ' ') ++at;
    return at;
}

}  // namespace

std::optional<ConfigLine> ReadConfigLine(SettingsReader& file) {
    ConfigLine line;
    int budget = kLineBudget;
    std::size_t controlsInRow = 0;
    for (;;) {
        const std::optional<uint8_t> byte = file.ReadByte();
        if (!byte) return std::nullopt;
        if (IsTextChar(*byte)) {
            line.text[line.length++] = static_cast<char>(*byte);
            break;
        }
        --budget;
        if (++controlsInRow == kConfigLineChars) return line;  // budget spent: empty line
    }
    line.cut = budget == 0;
    // The budget alone keeps the text within the buffer; the length check
    // only makes that evident.
    while (budget > 0 && line.length < kConfigLineChars) {
        const std::optional<uint8_t> byte = file.ReadByte();
        if (!byte || !IsTextChar(*byte)) break;
        line.text[line.length++] = static_cast<char>(*byte);
        line.cut = --budget == 0;
    }
    line.text[line.length] = '\0';
    return line;
}

int32_t ConfigLineValue(const ConfigLine& line) {
    std::size_t at = kKeyChars;
    if (line.length <= at) return 0;
    at = SkipBlanks(line, at);
    bool negative = false;
    if (at < line.length && (line.text[at] == '+' || line.text[at] == '-')) {
        negative = line.text[at] == '-';
        ++at;
    }
    // Unsigned arithmetic wraps by definition; the final narrowing is modular.
    uint32_t value = 0;
    for (; at < line.length && IsDigit(line.text[at]); ++at) {
        value = value * 10u + static_cast<uint32_t>(line.text[at] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

std::string ConfigLinePath(const ConfigLine& line) {
    if (line.length <= kKeyChars) return {};
    std::size_t at = SkipBlanks(line, kKeyChars);
    if (at < line.length && (line.text[at] == '+' || line.text[at] == '-')) ++at;
    while (at < line.length && IsDigit(line.text[at])) ++at;
    at = SkipBlanks(line, at);
    return std::string(line.text + at, line.length - at);
}

}  // namespace velmora
