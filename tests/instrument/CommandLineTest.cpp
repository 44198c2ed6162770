#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
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
    const CommandLine::Result result =
        Parse({"--baud-pacing", "--stray", "5", "--damage-marker", "--short-frame=100", "--silent",
               "--flood", "--late", "300", "--points", "512", "--noise", "0", "--seed", "99",
               "--link-name", "ttyBench", "--trace", "/tmp/commands.txt"});
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
}

TEST(CommandLineTest, HelpListsEveryOption) {
    EXPECT_EQ(Parse({"--help"}).outcome, CommandLine::Outcome::kHelp);
    const std::string help = CommandLine::HelpText();
    for (const char* option :
         {"--help", "--baud-pacing", "--stray", "--damage-marker", "--short-frame", "--silent",
          "--flood", "--late", "--points", "--noise", "--seed", "--link-name", "--trace",
          "--input1", "--input2", "saw-symmetrical", "--dut", "bandpass"}) {
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
        {"--trace"},           {"--trace="},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args[0]);
        const CommandLine::Result result = Parse(args);
        EXPECT_EQ(result.outcome, CommandLine::Outcome::kError);
        EXPECT_FALSE(result.error.empty());
    }
}

// WAVE,HZ,VOLTS[,OFFSET] and its mistakes; the program ends a mistake with 2.
TEST(CommandLineTest, InputSignalsAndTheirMistakes) {
    const InputSignal in = Parse({"--input2", "square10,50,1.5,-0.25"}).options.inputs[1];
    EXPECT_TRUE(in.waveform == '7' && in.frequency == 50 && in.amplitude == 1.5 &&
                in.offset == -0.25);
    EXPECT_EQ(Parse({"--input1", "sine,1000"}).error,
              "option --input1 needs WAVE,HZ,VOLTS[,OFFSET], not 'sine,1000'");
    for (const char* value : {"sin,1000,0.5", "Sine,1000,0.5", "sine,1000,0.5,0,1", "sine,0,0.5",
                              "sine,inf,0.5", "sine,1000,-0.5", "sine,1000,0.5,"}) {
        EXPECT_EQ(Parse({"--input1", value}).outcome, CommandLine::Outcome::kError) << value;
    }
    const std::string program = VELMORA_INSTRUMENT_PROGRAM;
    const int status = std::system((program + " --input1 sine,1000 2>/dev/null").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
}

// The circuit under test and its mistakes.
TEST(CommandLineTest, CircuitsUnderTestAndTheirMistakes) {
    const CircuitUnderTest band = Parse({"--dut", "bandpass,2000,5,10"}).options.circuit;
    EXPECT_TRUE(band.kind == CircuitUnderTest::Kind::kBandPass && band.frequency == 2000 &&
                band.q == 5 && band.gain == 10);
    const CircuitUnderTest low = Parse({"--dut", "lowpass,1000"}).options.circuit;
    EXPECT_TRUE(low.kind == CircuitUnderTest::Kind::kLowPass && low.gain == 1);
    EXPECT_EQ(Parse({"--dut", "lowpass"}).error,
              "option --dut needs lowpass,FC[,GAIN], highpass,FC[,GAIN] or bandpass,F0,Q[,GAIN], "
              "not 'lowpass'");
    for (const char* value : {"notch,1000", "lowpass,0", "lowpass,1000,1,2", "bandpass,1000",
                              "bandpass,1000,0", "highpass,1000,-1", "lowpass,1e7"}) {
        EXPECT_EQ(Parse({"--dut", value}).outcome, CommandLine::Outcome::kError) << value;
    }
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
