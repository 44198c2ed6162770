#include "cli/OptionTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "generator/ParseFloatText.h"

namespace velmora {
namespace {

bool Integer(std::string_view text, const OptionRange& range, int& value) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    return r.ec == std::errc() && r.ptr == end && value >= range.lo && value <= range.hi;
}

// A plain decimal number, as the generator's boxes take it.
bool Number(std::string_view text, const OptionRange& range, double& value) {
    try {
        value = ParseFloatText(text);
    } catch (...) {
        return false;
    }
    const bool low = range.aboveLo ? value <= range.lo : value < range.lo;
    return std::isfinite(value) && !low && value <= range.hi;
}

bool Choice(std::string_view text, const std::array<std::string_view, 2>& words, int& index) {
    const auto at = std::find(words.begin(), words.end(), text);
    index = static_cast<int>(at - words.begin());
    return at != words.end();
}

}  // namespace

std::string OptionNumberText(double value) {
    char text[64];
    const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, r.ptr);
}

std::string OptionRangeText(const OptionRange& range) {
    if (range.steps.empty()) return OptionNumberText(range.lo) + ".." + OptionNumberText(range.hi);
    std::vector<int> steps(range.steps.begin(), range.steps.end());
    std::sort(steps.begin(), steps.end());
    std::string text;
    for (const int step : steps) {
        if (!text.empty()) text += ' ';
        text += std::to_string(step);
    }
    return text;
}

std::string ExpandOptionHelp(std::string_view help, const std::array<OptionRange, 2>& ranges) {
    std::string text;
    for (std::size_t i = 0; i < help.size(); ++i) {
        const bool mark = help[i] == '{' && i + 2 < help.size() && help[i + 2] == '}';
        const std::size_t which = mark ? static_cast<std::size_t>(help[i + 1] - '0') : 2;
        if (which < ranges.size()) {
            text += OptionRangeText(ranges[which]);
            i += 2;
        } else {
            text += help[i];
        }
    }
    return text;
}

bool ReadOptionValue(OptionKind kind, const OptionRange& range,
                     const std::array<std::string_view, 2>& words, OptionValue& value) {
    switch (kind) {
        case OptionKind::Text:
            return !value.text.empty();
        case OptionKind::Integer:
            return Integer(value.text, range, value.integer);
        case OptionKind::Number:
            return Number(value.text, range, value.number);
        case OptionKind::Choice:
            return Choice(value.text, words, value.integer);
        case OptionKind::Flag:
        case OptionKind::Custom:
            break;
    }
    return true;
}

bool SplitOptionValue(int argc, const char* const* argv, int& i, std::string_view& arg,
                      std::string_view& value) {
    if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != arg.npos) {
        value = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
        return true;
    }
    if (i + 1 < argc && std::string_view(argv[i + 1]).rfind("--", 0) != 0) {
        value = argv[++i];
        return true;
    }
    return false;
}

}  // namespace velmora
