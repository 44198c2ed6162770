#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "instrument/CommandLine.h"
#include "instrument/CommandTrace.h"

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
    EXPECT_TRUE(o.traceFile.empty());
}

TEST(CommandLineTest, TakesEveryOption) {
    const CommandLine::Result result = Parse({"--baud-pacing",
                                              "--stray",
                                              "5",
                                              "--damage-marker",
                                              "--short-frame=100",
                                              "--silent",
                                              "--flood",
                                              "--late",
                                              "300",
                                              "--points",
                                              "512",
                                              "--noise",
                                              "0",
                                              "--seed",
                                              "99",
                                              "--link-name",
                                              "ttyBench",
                                              "--trace",
                                              "/tmp/commands.txt",
                                              "--input2",
                                              "square10,50,1.5,-0.25"});
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
    EXPECT_EQ(o.traceFile, "/tmp/commands.txt");
    EXPECT_FALSE(o.inputs[0].Connected());
    EXPECT_EQ(o.inputs[1].waveform, '7');
    EXPECT_EQ(o.inputs[1].frequency, 50.0);
    EXPECT_EQ(o.inputs[1].amplitude, 1.5);
    EXPECT_EQ(o.inputs[1].offset, -0.25);
}

TEST(CommandLineTest, HelpListsEveryOption) {
    EXPECT_EQ(Parse({"--help"}).outcome, CommandLine::Outcome::kHelp);
    const std::string help = CommandLine::HelpText();
    for (const char* option :
         {"--help", "--baud-pacing", "--stray", "--damage-marker", "--short-frame", "--silent",
          "--flood", "--late", "--points", "--noise", "--seed", "--link-name", "--trace",
          "--input1", "--input2", "saw-symmetrical"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

TEST(CommandLineTest, RejectsWhatItDoesNotUnderstand) {
    const std::vector<std::vector<const char*>> bad = {
        {"--bogus"},
        {"--stray"},
        {"--stray", "-1"},
        {"--stray", "4097"},
        {"--late", "1e3"},
        {"--short-frame", "8321"},
        {"--noise", "abc"},
        {"--seed", ""},
        {"--silent=yes"},
        {"--link-name", "a/b"},
        {"--link-name", ".."},
        {"stray"},
        {"--trace"},
        {"--trace="},
        {"--input1", "sin,1000,0.5"},
        {"--input1", "sine,1000"},
        {"--input1", "sine,1000,0.5,0,1"},
        {"--input2", "sine,0,0.5"},
        {"--input2", "sine,inf,0.5"},
        {"--input1", "sine,1000,-0.5"},
        {"--input1", "sine,1000,0.5,"},
        {"--input1", "Sine,1000,0.5"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args[0]);
        const CommandLine::Result result = Parse(args);
        EXPECT_EQ(result.outcome, CommandLine::Outcome::kError);
        EXPECT_FALSE(result.error.empty());
    }
}

// The program itself: a malformed signal is a usage error, exit status 2.
TEST(CommandLineTest, AMalformedInputExitsTwoWithItsReason) {
    const std::string errors =
        ::testing::TempDir() + "velmora-instrument-usage-" + std::to_string(getpid());
    const std::string command =
        std::string(VELMORA_INSTRUMENT_PROGRAM) + " --input1 sine,1000 2>" + errors;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    std::ifstream text(errors);
    std::string line;
    std::getline(text, line);
    std::remove(errors.c_str());
    EXPECT_EQ(line,
              "velmora-instrument: option --input1 needs WAVE,HZ,VOLTS[,OFFSET], not 'sine,1000'");
}

// The trace is what a test of a program it cannot look into reads: each
// command as the instrument understood it, one line each.
TEST(CommandLineTest, TraceLinesNameEachCommandWithItsFields) {
    Command sync;
    sync.kind = Command::Kind::kSync;
    sync.source = 1;
    sync.polarity = 1;
    sync.position = 1024;
    sync.level = -300;
    Command range2;
    range2.kind = Command::Kind::kRange2;
    range2.range = 7;
    Command generator;
    generator.kind = Command::Kind::kGenerator;
    generator.waveform = '1';
    generator.frequency = 1000;
    generator.amplitude = 0.5;
    EXPECT_EQ(CommandTrace::Text(Command{}), "z");
    EXPECT_EQ(CommandTrace::Text(sync), "S 1 1 1024 -300");
    EXPECT_EQ(CommandTrace::Text(range2), "Y 7");
    EXPECT_EQ(CommandTrace::Text(generator), "G 0 1 1000 0.5");
}

}  // namespace
}  // namespace velmora
