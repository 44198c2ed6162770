#include "generator/ParseFloatText.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "generator/InvalidFloatText.h"

namespace velmora {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What the scanner learned about a well-formed number.
struct NumberShape {
    bool negative = false;
    std::size_t bodyStart = 0;  // first character after the sign
    // Decimal exponent of the leading non-zero digit, only needed to tell an
    // overflow from an underflow; saturated so no text can overflow it.
    int64_t magnitude = 0;
    bool allZero = true;
};

constexpr int64_t kExponentCap = 1'000'000'000;

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

// Scans sign, digits, fraction and exponent; false unless the whole text is
// one plain decimal number.
bool Scan(std::string_view text, NumberShape& shape) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        shape.negative = text[at] == '-';
        ++at;
    }
    shape.bodyStart = at;
    const std::size_t intStart = at;
    at = SkipDigits(text, at);
    const std::size_t intEnd = at;
    std::size_t fracStart = at, fracEnd = at;
    if (at < text.size() && text[at] == '.') {
        fracStart = at + 1;
        at = fracEnd = SkipDigits(text, fracStart);
    }
    if (intEnd == intStart && fracEnd == fracStart) return false;

    int64_t exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        bool negativeExponent = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            negativeExponent = text[at] == '-';
            ++at;
        }
        const std::size_t expStart = at;
        for (; at < text.size() && IsDigit(text[at]); ++at) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (text[at] - '0');
        }
        if (at == expStart) return false;
        if (negativeExponent) exponent = -exponent;
    }
    if (at != text.size()) return false;

    // Position of the first non-zero digit relative to the decimal point.
    for (std::size_t i = intStart; i < intEnd; ++i) {
        if (text[i] != '0') {
            shape.allZero = false;
            shape.magnitude = static_cast<int64_t>(intEnd - i) - 1 + exponent;
            return true;
        }
    }
    for (std::size_t i = fracStart; i < fracEnd; ++i) {
        if (text[i] != '0') {
            shape.allZero = false;
            shape.magnitude = -static_cast<int64_t>(i - fracStart) - 1 + exponent;
            return true;
        }
    }
    return true;
}

}  // namespace

double ParseFloatText(std::string_view text) {
    NumberShape shape;
    if (!Scan(text, shape)) throw InvalidFloatText(std::string(text));

    // from_chars takes no leading '+' and always reads '.' as the point.
    const char* first = text.data() + shape.bodyStart;
    const char* last = text.data() + text.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const bool overflow = !shape.allZero && shape.magnitude > 0;
        value = overflow ? std::numeric_limits<double>::max() : 0.0;
    } else if (error != std::errc() || end != last) {
        throw InvalidFloatText(std::string(text));
    }
    // A zero keeps no sign, so "-0" never reaches the instrument as "-0.000000".
    return shape.negative && value != 0.0 ? -value : value;
}

float RoundToSingle(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax) return std::numeric_limits<float>::max();
    if (value < -kMax) return -std::numeric_limits<float>::max();
    // A value too small for a float keeps no sign either, as a zero text does.
    const float single = static_cast<float>(value);
    return single == 0.0f ? 0.0f : single;
}

}  // namespace velmora
