#include "capture/CsvText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velmora {

void AppendNumber(std::string& out, double value, int digits) {
    if (!std::isfinite(value)) return;  // never in a frame's figures; an empty cell then
    if (value == 0) value = 0;          // no "-0"
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::general, digits);
    out.append(text.data(), result.ptr);
}

void AppendNumber(std::string& out, const std::optional<double>& value, int digits) {
    if (value) AppendNumber(out, *value, digits);
}

void AppendInteger(std::string& out, int64_t value) {
    std::array<char, 24> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    out.append(text.data(), result.ptr);
}

}  // namespace velmora
