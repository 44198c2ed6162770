#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cli/CaptureOptions.h"

namespace velmora {
namespace {

// The text as roff writes it: every '-' is "\-".
std::string Roff(std::string_view text) {
    std::string roff;
    for (const char c : text) roff += c == '-' ? std::string("\\-") : std::string(1, c);
    return roff;
}

// A range as the man page words it: "\-2000 to 2000", "1, 2, 4 or 8".
std::string ManRange(const OptionRange& range) {
    if (range.steps.empty()) {
        return Roff(OptionNumberText(range.lo) + " to " + OptionNumberText(range.hi));
    }
    const std::string help = OptionRangeText(range);  // "1 2 4 8"
    const std::size_t last = help.rfind(' ');
    std::string man;
    for (std::size_t i = 0; i < help.size(); ++i) {
        if (help[i] == ' ') man += i == last ? " or" : ",";
        man += help[i];
    }
    return man;
}

// The man page's paragraph of an option: from the line that first names it
// to the next paragraph.
std::string ManEntry(const std::string& man, std::string_view option) {
    const std::size_t at = man.find(Roff(option) + " ");
    if (at == std::string::npos) return "";
    const std::size_t begin = man.rfind('\n', at) + 1;
    std::size_t end = begin;
    do {
        end = man.find("\n.", end + 1);
    } while (end != std::string::npos && man.compare(end, 4, "\n.TP") != 0 &&
             man.compare(end, 4, "\n.PP") != 0 && man.compare(end, 4, "\n.SS") != 0);
    return man.substr(begin, end - begin);
}

TEST(CaptureOptionsTest, TheManPageGivesEveryRangeAndChoiceOfTheTable) {
    std::ifstream in(VELMORA_CAPTURE_MAN);
    std::stringstream man;
    man << in.rdbuf();
    int checked = 0;
    for (const OptionRow<CaptureOptions>& row : CaptureOptionRows()) {
        SCOPED_TRACE(row.name);
        const std::string entry = ManEntry(man.str(), row.name);
        const std::string help = row.help == nullptr ? "" : row.help;
        for (std::size_t i = 0; i < row.ranges.size(); ++i) {
            const char mark[] = {'{', static_cast<char>('0' + i), '}', '\0'};
            if (help.find(mark) == std::string::npos) continue;
            EXPECT_NE(entry.find(ManRange(row.ranges[i])), std::string::npos) << entry;
            ++checked;
        }
        if (row.kind != OptionKind::Choice) continue;
        const std::string a(row.words[0]), b(row.words[1]);
        EXPECT_TRUE(entry.find(a + "|" + b) != std::string::npos ||
                    entry.find(b + "|" + a) != std::string::npos)
            << entry;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace velmora
