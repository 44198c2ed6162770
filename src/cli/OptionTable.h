#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace velmora {

// How a command-line option takes its value.
enum class OptionKind {
    Flag,     // no value: --help
    Text,     // any text but the empty one: a port, a path
    Integer,  // a whole number within its range, written in decimal
    Number,   // a plain decimal number within its range
    Choice,   // one of two words; the value is the word's index
    Custom,   // the setter reads the text and explains a refusal itself
};

// The values an option takes: lo..hi, lo itself refused when `aboveLo`. The
// help shows `steps` instead of lo..hi where a value must also be one of them.
struct OptionRange {
    double lo = 0;
    double hi = 0;
    bool aboveLo = false;
    std::span<const int> steps{};
};

// A value as the setter receives it, already checked against the row.
struct OptionValue {
    std::string_view text;
    int integer = 0;  // an Integer's value, or a Choice's index
    double number = 0;
    const std::array<OptionRange, 2>* ranges = nullptr;
    std::string* error = nullptr;  // where a Custom setter writes why it refuses
};

// One row of a command's option table. The same rows parse the command line
// and write the help, so a range cannot say one thing in each.
template <class Options>
struct OptionRow {
    std::string_view name;
    OptionKind kind = OptionKind::Flag;
    void (*set)(Options&, const OptionValue&) = nullptr;
    std::array<OptionRange, 2> ranges{};      // {0} and {1} in the help
    std::array<std::string_view, 2> words{};  // a Choice's words, index 0 and 1
    const char* help = nullptr;               // the row's lines in the help, if it has any
    const char* heading = nullptr;            // a text the help puts before those lines
    std::string_view alias{};                 // a Flag's short name
};

// "2000", "0.25", "1000000": the shortest text that reads back as the value.
std::string OptionNumberText(double value);
// A range as the help shows it: "-2000..2000" or "1 2 4 8".
std::string OptionRangeText(const OptionRange& range);
// The help lines with {0} and {1} replaced by the ranges' texts.
std::string ExpandOptionHelp(std::string_view help, const std::array<OptionRange, 2>& ranges);
// Converts `value.text` as `kind` takes it; false when it is not a value of the range.
bool ReadOptionValue(OptionKind kind, const OptionRange& range,
                     const std::array<std::string_view, 2>& words, OptionValue& value);
// The value of argv[i] ("--name=value" or the next argument, which must not
// begin with "--"); `arg` keeps only the name. False when there is none.
bool SplitOptionValue(int argc, const char* const* argv, int& i, std::string_view& arg,
                      std::string_view& value);

template <class Options>
const OptionRow<Options>* FindOption(std::span<const OptionRow<Options>> rows,
                                     std::string_view name, bool flag) {
    for (const OptionRow<Options>& row : rows) {
        const bool isFlag = row.kind == OptionKind::Flag;
        if (isFlag == flag && (row.name == name || (isFlag && row.alias == name))) return &row;
    }
    return nullptr;
}

// Applies argv[1..] to `options` row by row; false with a one-line reason in
// `error` at the first option that is unknown, lacks its value or has a bad one.
template <class Options>
bool ParseOptions(std::span<const OptionRow<Options>> rows, int argc, const char* const* argv,
                  Options& options, std::string& error) {
    error.clear();  // a Custom setter refuses by writing here
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (const auto* flag = FindOption(rows, arg, true)) {
            flag->set(options, OptionValue{});
            continue;
        }
        std::string_view text;
        if (!SplitOptionValue(argc, argv, i, arg, text)) {
            error = "unknown option or missing value: " + std::string(arg);
            return false;
        }
        const auto* row = FindOption(rows, arg, false);
        if (row == nullptr) {
            error = "unknown option " + std::string(arg);
            return false;
        }
        OptionValue value{text, 0, 0, &row->ranges, &error};
        if (!ReadOptionValue(row->kind, row->ranges[0], row->words, value)) {
            error = "bad value '" + std::string(text) + "' for " + std::string(arg);
            return false;
        }
        row->set(options, value);
        if (!error.empty()) return false;
    }
    return true;
}

// The option lines of the help, in the order of the rows.
template <class Options>
std::string OptionHelp(std::span<const OptionRow<Options>> rows) {
    std::string help;
    for (const OptionRow<Options>& row : rows) {
        if (row.heading != nullptr) help += row.heading;
        if (row.help != nullptr) help += ExpandOptionHelp(row.help, row.ranges);
    }
    return help;
}

}  // namespace velmora
