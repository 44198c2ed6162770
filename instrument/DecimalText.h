#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

// Splits `text` at commas into at most `max` fields; false when it holds more.
bool SplitFields(std::string_view text, std::string_view* fields, std::size_t max,
                 std::size_t& count);

// A plain decimal number (sign, fraction and exponent allowed) and nothing
// after it; infinities and NaN are no numbers here.
bool ParseDecimal(std::string_view text, double& value);

}  // namespace velmora
