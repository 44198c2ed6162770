#include "settings/ConfigLine.h"

namespace velmora {
namespace {

constexpr int kLineBudget = 89;
constexpr std::size_t kKeyChars = 6;

bool IsTextChar(uint8_t byte) { return byte >= 0x20 && byte <= 0x7F; }

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
    // The budget alone keeps the text within the buffer; the length check
    // only makes that evident.
    while (budget > 0 && line.length < kConfigLineChars) {
        const std::optional<uint8_t> byte = file.ReadByte();
        if (!byte || !IsTextChar(*byte)) break;
        line.text[line.length++] = static_cast<char>(*byte);
        --budget;
    }
    line.text[line.length] = '\0';
    return line;
}

int32_t ConfigLineValue(const ConfigLine& line) {
    std::size_t at = kKeyChars;
    if (line.length <= at) return 0;
    while (at < line.length && line.text[at] == ' ') ++at;
    bool negative = false;
    if (at < line.length && (line.text[at] == '+' || line.text[at] == '-')) {
        negative = line.text[at] == '-';
        ++at;
    }
    // Unsigned arithmetic wraps by definition; the final narrowing is modular.
    uint32_t value = 0;
    for (; at < line.length && line.text[at] >= '0' && line.text[at] <= '9'; ++at) {
        value = value * 10u + static_cast<uint32_t>(line.text[at] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

}  // namespace velmora
