#pragma once

#include <cstddef>
#include <string_view>

namespace velmora::fuzz {

// The one number syntax of the generator boxes and of the instrument's
// generator command, written down as its grammar:
//   number   = [sign] (digits ["." {digit}] | "." digits) [exponent]
//   exponent = ("e" | "E") [sign] digits
// No blanks, no "nan"/"inf", no hexadecimal, nothing after the number.
inline bool IsPlainDecimal(std::string_view text) {
    std::size_t at = 0;
    const auto digits = [&] {
        const std::size_t from = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at - from;
    };
    const auto sign = [&] {
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    };
    sign();
    std::size_t mantissa = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        sign();
        if (digits() == 0) return false;
    }
    return at == text.size();
}

}  // namespace velmora::fuzz
