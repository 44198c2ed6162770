#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "generator/InvalidFloatText.h"
#include "generator/ParseFloatText.h"

namespace velmora {
namespace {

TEST(ParseFloatTextTest, PlainDecimalNumbersInEveryAcceptedForm) {
    EXPECT_EQ(ParseFloatText("20000"), 20000.0);
    EXPECT_EQ(ParseFloatText("1.00"), 1.0);
    EXPECT_EQ(ParseFloatText("-1"), -1.0);
    EXPECT_EQ(ParseFloatText("+2.5"), 2.5);
    EXPECT_EQ(ParseFloatText(".5"), 0.5);
    EXPECT_EQ(ParseFloatText("7."), 7.0);
    EXPECT_EQ(ParseFloatText("1e3"), 1000.0);
    EXPECT_EQ(ParseFloatText("1.5E-2"), 0.015);
    EXPECT_EQ(ParseFloatText("25e+1"), 250.0);
    EXPECT_EQ(ParseFloatText("000123"), 123.0);
    EXPECT_EQ(ParseFloatText("20000.7"), 20000.7);  // correctly rounded double
}

TEST(ParseFloatTextTest, ZeroNeverCarriesASign) {
    for (const char* text : {"0", "-0", "-0.000", "+0e5"}) {
        const double value = ParseFloatText(text);
        EXPECT_EQ(value, 0.0) << text;
        EXPECT_FALSE(std::signbit(value)) << text;
    }
}

TEST(ParseFloatTextTest, FiniteTextBeyondTheRangeSaturatesInsteadOfFailing) {
    EXPECT_EQ(ParseFloatText("1e999"), DBL_MAX);
    EXPECT_EQ(ParseFloatText("-1e999"), -DBL_MAX);
    EXPECT_EQ(ParseFloatText("1" + std::string(400, '0')), DBL_MAX);
    EXPECT_EQ(ParseFloatText("0.00001e99999999999999999999999"), DBL_MAX);
    EXPECT_EQ(ParseFloatText("1e-999"), 0.0);
    EXPECT_EQ(ParseFloatText("-1e-999"), 0.0);
    EXPECT_EQ(ParseFloatText("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(ParseFloatText("0e99999999999999"), 0.0);
    EXPECT_EQ(ParseFloatText("100000e-99999999999999999999"), 0.0);
}

TEST(ParseFloatTextTest, AnythingElseIsNotANumberWithTheExactMessage) {
    for (const char* text : {"",
                             " ",
                             "nan",
                             "NaN",
                             "inf",
                             "-inf",
                             "Infinity",
                             "0x10",
                             "0X1p3",
                             "1.5V",
                             "1e",
                             "1e+",
                             ".",
                             "+",
                             "-",
                             "1..2",
                             "1.2.3",
                             " 1",
                             "1 ",
                             "1,5",
                             "e5",
                             "--1",
                             "+-1",
                             "1e5.5",
                             "\t1",
                             "1e 5",
                             "12abc",
                             "1f",
                             "\xB1"
                             "1"}) {
        try {
            ParseFloatText(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
    EXPECT_THROW(ParseFloatText("abc"), InvalidFloatText);
}

TEST(ParseFloatTextTest, RoundToSingleRoundsAndNeverOverflows) {
    EXPECT_EQ(RoundToSingle(20000.7), 20000.69921875f);
    EXPECT_EQ(RoundToSingle(999999.9), 999999.875f);
    EXPECT_EQ(RoundToSingle(DBL_MAX), FLT_MAX);
    EXPECT_EQ(RoundToSingle(-DBL_MAX), -FLT_MAX);
    EXPECT_EQ(RoundToSingle(1e-300), 0.0f);
    EXPECT_FALSE(std::signbit(RoundToSingle(-1e-198)));  // would print as -0.000000
}

}  // namespace
}  // namespace velmora
