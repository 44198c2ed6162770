#include "instrument/DecimalText.h"

#include <charconv>
#include <cmath>

namespace velmora {

bool SplitFields(std::string_view text, std::string_view* fields, std::size_t max,
                 std::size_t& count) {
    count = 0;
    while (count < max) {
        const std::size_t comma = text.find(',');
        fields[count++] = text.substr(0, comma);
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
    return false;
}

bool ParseDecimal(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

}  // namespace velmora
