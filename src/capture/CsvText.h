#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "system/WallClock.h"

namespace velmora {

// Number text for files other programs read: '.' as the decimal point and no
// grouping whatever the process's locale, the shortest form with `digits`
// significant digits (as printf's %g, exponent form for very small values).
void AppendNumber(std::string& out, double value, int digits);
// An empty text for a value that could not be measured.
void AppendNumber(std::string& out, const std::optional<double>& value, int digits);
void AppendInteger(std::string& out, int64_t value);

// A comment line "# key: value".
void AppendCommentLine(std::string& out, const char* key, const std::string& value);
// Names and paths may hold any byte; the files stay ASCII ('?' for the rest).
std::string PrintableText(const char* text);
// ISO 8601 with the UTC offset: 2026-12-09T17:36:05+00:00.
std::string IsoDateText(const LocalTime& t);

}  // namespace velmora
