#include "capture/CsvText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

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

void AppendCommentLine(std::string& out, const char* key, const std::string& value) {
    out.append("# ").append(key).append(": ").append(value).append("\n");
}

std::string PrintableText(const char* text) {
    std::string s;
    for (; *text != '\0'; ++text) {
        const unsigned char c = static_cast<unsigned char>(*text);
        s.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    }
    return s;
}

std::string IsoDateText(const LocalTime& t) {
    const int32_t offset = t.utcOffsetMinutes;
    const int32_t size = offset < 0 ? -offset : offset;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year % 10000,
                  t.month % 100, t.day % 100, t.hour % 100, t.minute % 100, t.second % 100,
                  offset < 0 ? '-' : '+', static_cast<int>(size / 60 % 100),
                  static_cast<int>(size % 60));
    return text;
}

}  // namespace velmora
