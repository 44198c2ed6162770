#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/ConfigLine.h"
#include "support/FakeSettingsStore.h"

namespace velmora {
namespace {

// Reads lines from `bytes` until the file ends; each line as text.
std::vector<std::string> ReadAll(const std::string& bytes) {
    test::FakeSettingsStore store;
    store.files["f"] = bytes;
    auto reader = store.OpenForRead("f");
    std::vector<std::string> lines;
    while (auto line = ReadConfigLine(*reader)) {
        EXPECT_EQ(line->text[line->length], '\0');
        lines.emplace_back(line->text, line->length);
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(ConfigLineTest, ControlBytesEndLinesAndAreSkippedBeforeThem) {
    EXPECT_EQ(ReadAll("SwpSp 1   \r\nSySrc 0\r\n"), (Lines{"SwpSp 1   ", "SySrc 0"}));
    EXPECT_EQ(ReadAll("a\r\n\r\n\n\x01\x1F"
                      "b"),
              (Lines{"a", "b"}));
    // 0x7F is text; 0x80 and above end a line like CR does.
    EXPECT_EQ(ReadAll("a\x7F"
                      "b\x80"
                      "c\xFF\xB1"
                      "d"),
              (Lines{"a\x7F"
                     "b",
                     "c", "d"}));
    EXPECT_EQ(ReadAll("last line without end"), (Lines{"last line without end"}));
}

TEST(ConfigLineTest, TheFileEndingBeforeAnyTextGivesNoLine) {
    EXPECT_EQ(ReadAll(""), Lines{});
    EXPECT_EQ(ReadAll("\r\n\r\n"), Lines{});
    EXPECT_EQ(ReadAll("x\r\n"), Lines{"x"});
}

TEST(ConfigLineTest, OneLineTakesAtMostNinetyBytes) {
    const std::string hundred = std::string(90, 'a') + std::string(10, 'b');
    EXPECT_EQ(ReadAll(hundred), (Lines{std::string(90, 'a'), std::string(10, 'b')}));
    // A later line: the LF left over from CR LF counts, so 89 characters fit.
    EXPECT_EQ(ReadAll("x\r\n" + std::string(89, 'c') + "d"),
              (Lines{"x", std::string(89, 'c'), "d"}));
    // 89 control bytes leave room for a single character.
    EXPECT_EQ(ReadAll(std::string(89, '\n') + "ab"), (Lines{"a", "b"}));
}

TEST(ConfigLineTest, NinetyControlBytesInARowGiveAnEmptyLine) {
    EXPECT_EQ(ReadAll(std::string(90, '\n') + "ab"), (Lines{"", "ab"}));
    EXPECT_EQ(ReadAll(std::string(180, '\r')), (Lines{"", ""}));
    EXPECT_EQ(ReadAll(std::string(91, '\r')), (Lines{""}));
}

int32_t Value(const std::string& text) {
    ConfigLine line;
    text.copy(line.text, kConfigLineChars);
    line.length = std::min(text.size(), kConfigLineChars);
    return ConfigLineValue(line);
}

TEST(ConfigLineTest, ValueStartsAtTheSeventhCharacter) {
    EXPECT_EQ(Value("SwpSp 1                "), 1);
    EXPECT_EQ(Value("ComPt 2                /dev/ttyACM0"), 2);
    EXPECT_EQ(Value("SyLev -350                "), -350);
    EXPECT_EQ(Value("SyLev +12"), 12);
    EXPECT_EQ(Value("SwpSp  1"), 1);   // blanks before the number are skipped
    EXPECT_EQ(Value("SwpSp x1"), 0);   // seventh character not a number
    EXPECT_EQ(Value("SwpSp1"), 0);     // the digit is the sixth character
    EXPECT_EQ(Value("12345678"), 78);  // keys are never looked at
    EXPECT_EQ(Value("SyLev 12abc"), 12);
    EXPECT_EQ(Value("SyLev - 5"), 0);
    EXPECT_EQ(Value("SyLev --5"), 0);
    for (const char* shortLine : {"", "1", "1234", "12345", "123456"}) {
        EXPECT_EQ(Value(shortLine), 0) << shortLine;
    }
}

TEST(ConfigLineTest, LongDigitStringsWrapModuloTwoToTheThirtyTwo) {
    EXPECT_EQ(Value("SyLev 2147483647"), INT32_MAX);
    EXPECT_EQ(Value("SyLev 2147483648"), INT32_MIN);
    EXPECT_EQ(Value("SyLev -2147483648"), INT32_MIN);
    EXPECT_EQ(Value("SyLev 4294967297"), 1);
    EXPECT_EQ(Value("SyLev -4294967295"), 1);
    EXPECT_EQ(Value("SyLev 99999999999999999999"), 1661992959);
    // 10^84 is a multiple of 2^32, so 84 nines are 2^32 - 1 modulo 2^32.
    EXPECT_EQ(Value("SyLev " + std::string(84, '9')), -1);
}

}  // namespace
}  // namespace velmora
