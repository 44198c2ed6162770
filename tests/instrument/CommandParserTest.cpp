#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "instrument/CommandParser.h"

namespace velmora {
namespace {

struct Recorder : CommandSink {
    void OnCommand(const Command& command) override { commands.push_back(command); }
    void OnRejected() override { ++rejected; }
    std::vector<Command> commands;
    int rejected = 0;
};

void Feed(CommandParser& parser, const std::string& text, Recorder& sink) {
    parser.Feed(reinterpret_cast<const uint8_t*>(text.data()), text.size(), sink);
}

Recorder ParseAll(const std::string& text, bool idleAtEnd = true) {
    CommandParser parser;
    Recorder sink;
    Feed(parser, text, sink);
    if (idleAtEnd) parser.Idle(sink);
    return sink;
}

// The bytes the application writes, one of each command.
const std::string kSession =
    "%S11  298-2000\r"
    "%X3\r"
    "%Y7\r"
    "%G0120000.000000,1.000000"
    "%z\r\n"
    "%G1/0.250000,3.300000"
    "%z\r\n";

void ExpectSession(const Recorder& sink) {
    ASSERT_EQ(sink.commands.size(), 7u);
    EXPECT_EQ(sink.rejected, 0);
    const Command& sync = sink.commands[0];
    EXPECT_EQ(sync.kind, Command::Kind::kSync);
    EXPECT_EQ(sync.source, 1);
    EXPECT_EQ(sync.polarity, 1);
    EXPECT_EQ(sync.position, 298);
    EXPECT_EQ(sync.level, -2000);
    EXPECT_EQ(sink.commands[1].kind, Command::Kind::kRange1);
    EXPECT_EQ(sink.commands[1].range, 3);
    EXPECT_EQ(sink.commands[2].kind, Command::Kind::kRange2);
    EXPECT_EQ(sink.commands[2].range, 7);
    const Command& a = sink.commands[3];
    EXPECT_EQ(a.kind, Command::Kind::kGenerator);
    EXPECT_EQ(a.channel, 0);
    EXPECT_EQ(a.waveform, '1');
    EXPECT_DOUBLE_EQ(a.frequency, 20000.0);
    EXPECT_DOUBLE_EQ(a.amplitude, 1.0);
    EXPECT_EQ(sink.commands[4].kind, Command::Kind::kDataRequest);
    const Command& b = sink.commands[5];
    EXPECT_EQ(b.channel, 1);
    EXPECT_EQ(b.waveform, '/');
    EXPECT_DOUBLE_EQ(b.frequency, 0.25);
    EXPECT_DOUBLE_EQ(b.amplitude, 3.3);
    EXPECT_EQ(sink.commands[6].kind, Command::Kind::kDataRequest);
}

TEST(CommandParserTest, ParsesEveryCommandOfASession) { ExpectSession(ParseAll(kSession)); }

TEST(CommandParserTest, ParsesTheSessionSplitAtEveryByteBoundary) {
    for (std::size_t split = 0; split <= kSession.size(); ++split) {
        SCOPED_TRACE(split);
        CommandParser parser;
        Recorder sink;
        Feed(parser, kSession.substr(0, split), sink);
        Feed(parser, kSession.substr(split), sink);
        ExpectSession(sink);
    }
}

TEST(CommandParserTest, ParsesTheSessionOneByteAtATime) {
    CommandParser parser;
    Recorder sink;
    for (const char c : kSession) Feed(parser, std::string(1, c), sink);
    ExpectSession(sink);
}

TEST(CommandParserTest, SyncFieldsArePaddedNumbers) {
    const Recorder sink = ParseAll("%S00 1024    0\r%S01    0 2000\r%S10 2048 -500\r");
    ASSERT_EQ(sink.commands.size(), 3u);
    EXPECT_EQ(sink.commands[0].position, 1024);
    EXPECT_EQ(sink.commands[0].level, 0);
    EXPECT_EQ(sink.commands[1].polarity, 1);
    EXPECT_EQ(sink.commands[1].level, 2000);
    EXPECT_EQ(sink.commands[2].source, 1);
    EXPECT_EQ(sink.commands[2].position, 2048);
    EXPECT_EQ(sink.commands[2].level, -500);
}

TEST(CommandParserTest, GeneratorCommandEndsWhenTheLineGoesIdle) {
    CommandParser parser;
    Recorder sink;
    Feed(parser, "%G1812.500000,0.500000", sink);
    EXPECT_TRUE(sink.commands.empty());
    EXPECT_TRUE(parser.AwaitingIdle());
    parser.Idle(sink);
    ASSERT_EQ(sink.commands.size(), 1u);
    EXPECT_EQ(sink.commands[0].waveform, '8');
    EXPECT_DOUBLE_EQ(sink.commands[0].frequency, 12.5);
    EXPECT_DOUBLE_EQ(sink.commands[0].amplitude, 0.5);
    EXPECT_FALSE(parser.AwaitingIdle());
}

TEST(CommandParserTest, IdleLeavesTerminatedCommandsWaiting) {
    CommandParser parser;
    Recorder sink;
    Feed(parser, "%S00 10", sink);
    EXPECT_FALSE(parser.AwaitingIdle());
    parser.Idle(sink);
    Feed(parser, "24    0\r", sink);
    ASSERT_EQ(sink.commands.size(), 1u);
    EXPECT_EQ(sink.commands[0].position, 1024);
    EXPECT_EQ(sink.rejected, 0);
}

TEST(CommandParserTest, RejectsMalformedCommandsAndResynchronises) {
    const char* broken[] = {
        "%X8\r",             // range out of 0..7
        "%X12\r",            // two digits
        "%Y\r",              // no digit
        "%S20 1024    0\r",  // source 2
        "%S00 1024    0",    // no terminator before the next '%'
        "%S00 2049    0\r",  // position beyond 2048
        "%S00 1024 2001\r",  // level beyond 2000
        "%S00 10x4    0\r",  // not a number
        "%G01nan,1.0",       // not a plain number
        "%G01100.0",         // no amplitude
        "%G21100.0,1.0",     // channel 2 does not exist
        "%G011e,1",          // exponent without digits
        "%z\r",              // data request without its line feed
        "%q",                // unknown letter
        "%%",                // a lone '%'
    };
    for (const char* text : broken) {
        SCOPED_TRACE(text);
        const Recorder sink = ParseAll(std::string(text) + "%z\r\n");
        ASSERT_EQ(sink.commands.size(), 1u);
        EXPECT_EQ(sink.commands[0].kind, Command::Kind::kDataRequest);
        EXPECT_GE(sink.rejected, 1);
    }
}

TEST(CommandParserTest, CountsARunOfJunkOnce) {
    const Recorder sink = ParseAll("hello world\r\n%X1\r");
    ASSERT_EQ(sink.commands.size(), 1u);
    EXPECT_EQ(sink.rejected, 1);
}

TEST(CommandParserTest, OverlongGeneratorCommandIsDropped) {
    const Recorder sink = ParseAll("%G01" + std::string(200, '1') + ",1%z\r\n");
    ASSERT_EQ(sink.commands.size(), 1u);
    EXPECT_EQ(sink.commands[0].kind, Command::Kind::kDataRequest);
    EXPECT_EQ(sink.rejected, 1);
}

TEST(CommandParserTest, RandomGarbageNeverStopsItFromAnsweringTheNextRequest) {
    std::mt19937 random(7);
    CommandParser parser;
    for (int round = 0; round < 2000; ++round) {
        std::string garbage(random() % 100, '\0');
        for (char& c : garbage) {
            // Bias toward the protocol's own bytes so that partial commands occur.
            static const char kAlphabet[] = "%zSXYG01 -.,\r\n9";
            c = random() % 3 == 0 ? static_cast<char>(random())
                                  : kAlphabet[random() % (sizeof(kAlphabet) - 1)];
        }
        Recorder sink;
        Feed(parser, garbage, sink);
        parser.Idle(sink);
        sink.commands.clear();
        Feed(parser, "%z\r\n", sink);
        ASSERT_EQ(sink.commands.size(), 1u) << round;
        EXPECT_EQ(sink.commands[0].kind, Command::Kind::kDataRequest);
    }
}

}  // namespace
}  // namespace velmora
