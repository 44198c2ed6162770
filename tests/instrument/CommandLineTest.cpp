#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instrument/CommandLine.h"

namespace velmora {
namespace {

CommandLine::Result Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "velmora-instrument");
    return CommandLine::Parse(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, DefaultsDescribeAWellBehavedInstrument) {
    const CommandLine::Result result = Parse({});
    ASSERT_EQ(result.outcome, CommandLine::Outcome::kRun);
    const InstrumentOptions& o = result.options;
    EXPECT_FALSE(o.baudPacing || o.damageMarker || o.silent || o.flood);
    EXPECT_EQ(o.stray, 0);
    EXPECT_LT(o.shortFrame, 0);
    EXPECT_EQ(o.lateMs, 0);
    EXPECT_EQ(o.points, 2048u);
    EXPECT_EQ(o.noise, 2);
    EXPECT_TRUE(o.linkName.empty());
}

TEST(CommandLineTest, TakesEveryOption) {
    const CommandLine::Result result =
        Parse({"--baud-pacing", "--stray", "5", "--damage-marker", "--short-frame=100", "--silent",
               "--flood", "--late", "300", "--points", "512", "--noise", "0", "--seed", "99",
               "--link-name", "ttyBench"});
    ASSERT_EQ(result.outcome, CommandLine::Outcome::kRun) << result.error;
    const InstrumentOptions& o = result.options;
    EXPECT_TRUE(o.baudPacing && o.damageMarker && o.silent && o.flood);
    EXPECT_EQ(o.stray, 5);
    EXPECT_EQ(o.shortFrame, 100);
    EXPECT_EQ(o.lateMs, 300);
    EXPECT_EQ(o.points, 512u);
    EXPECT_EQ(o.noise, 0);
    EXPECT_EQ(o.seed, 99u);
    EXPECT_EQ(o.linkName, "ttyBench");
}

TEST(CommandLineTest, HelpListsEveryOption) {
    EXPECT_EQ(Parse({"--help"}).outcome, CommandLine::Outcome::kHelp);
    const std::string help = CommandLine::HelpText();
    for (const char* option :
         {"--help", "--baud-pacing", "--stray", "--damage-marker", "--short-frame", "--silent",
          "--flood", "--late", "--points", "--noise", "--seed", "--link-name"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

TEST(CommandLineTest, RejectsWhatItDoesNotUnderstand) {
    const std::vector<std::vector<const char*>> bad = {
        {"--bogus"},           {"--stray"},
        {"--stray", "-1"},     {"--stray", "4097"},
        {"--late", "1e3"},     {"--short-frame", "8321"},
        {"--noise", "abc"},    {"--seed", ""},
        {"--silent=yes"},      {"--link-name", "a/b"},
        {"--link-name", ".."}, {"stray"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args[0]);
        const CommandLine::Result result = Parse(args);
        EXPECT_EQ(result.outcome, CommandLine::Outcome::kError);
        EXPECT_FALSE(result.error.empty());
    }
}

}  // namespace
}  // namespace velmora
