#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// Number text for files other programs read: '.' as the decimal point and no
// grouping whatever the process's locale, the shortest form with `digits`
// significant digits (as printf's %g, exponent form for very small values).
void AppendNumber(std::string& out, double value, int digits);
// An empty text for a value that could not be measured.
void AppendNumber(std::string& out, const std::optional<double>& value, int digits);
void AppendInteger(std::string& out, int64_t value);

}  // namespace velmora
