#include <gtest/gtest.h>

#include <string>

#include "generator/InvalidFloatText.h"
#include "generator/SendGeneratorCommand.h"
#include "support/FakeSerialPort.h"

namespace velmora {
namespace {

using Writes = std::vector<std::vector<uint8_t>>;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct GeneratorFixture : ::testing::Test {
    test::VirtualClock clock;
    test::FakeSerialPorts ports{clock};
    std::shared_ptr<test::FakeLine> line = ports.AddPort("ttyACM0", "/dev/ttyACM0");
    Memo display;
    SerialLink link{ports, display, clock};
    ReceiveState rx;
    CheckBox enable;
    ListBox waveform;
    EditBox frequency{"20000", EditChars::kDigits};
    EditBox amplitude{"1.00", EditChars::kAny};

    void SetUp() override {
        for (const char* item : {"Off", "Sine", "Cosine", "Saw Rising", "Saw Falling",
                                 "Saw Symmetrical", "Sqr 50%", "Sqr 10%", "Sqr 90%", " ", ""}) {
            waveform.Add(item);
        }
        ListBox comPort;
        link.DiscoverPorts(comPort);
        link.OpenPort(0);
        display.Clear();
        line->written.clear();
        line->writes.clear();
        enable.SetChecked(true);
    }

    void Send(const char* format = kGeneratorFormatA) {
        SendGeneratorCommand(GeneratorChannel{enable, waveform, frequency, amplitude, format}, link,
                             rx, clock, display);
    }

    // The generator command alone, as written in its own write.
    std::string Command(const char* freq, const char* ampl) {
        frequency.SetText(freq);
        amplitude.SetText(ampl);
        line->writes.clear();
        Send();
        if (line->writes.size() != 2) return "<" + std::to_string(line->writes.size()) + " writes>";
        return std::string(line->writes[0].begin(), line->writes[0].end());
    }
};

TEST_F(GeneratorFixture, SineWithTheInitialTextsSendsCommandThenDataRequest) {
    waveform.SetItemIndex(1);
    line->Feed("stale bytes");
    rx.rxBlock = 7;  // a frame half received
    rx.rxCount = 40;
    rx.timerTicks = 30;
    Send();
    EXPECT_EQ(line->writes, (Writes{Bytes("%G0120000.000000,1.000000"), Bytes("%z\r\n")}));
    EXPECT_EQ(line->WrittenText(), "%G0120000.000000,1.000000%z\r\n");
    EXPECT_EQ(display.Lines(), (std::vector<std::string>{"%G0120000.000000,1.000000"}));
    EXPECT_TRUE(line->input.empty());  // drained before the request
    EXPECT_TRUE(rx.requestPending);
    EXPECT_EQ(rx.replyDeadline, 32u);
    EXPECT_EQ(rx.rxBlock, kHeaderBlock);  // the old frame is abandoned
    EXPECT_EQ(rx.rxCount, 0);
}

TEST_F(GeneratorFixture, WaveformCharacterIsZeroPlusTheIndex) {
    EXPECT_EQ(Command("20000", "1.00"), "%G0/20000.000000,1.000000");  // nothing selected
    waveform.SetItemIndex(0);
    EXPECT_EQ(Command("20000", "1.00"), "%G0020000.000000,1.000000");
    waveform.SetItemIndex(9);
    EXPECT_EQ(Command("20000", "1.00"), "%G0920000.000000,1.000000");
    waveform.SetItemIndex(10);
    line->writes.clear();
    Send(kGeneratorFormatB);
    ASSERT_EQ(line->writes.size(), 2u);
    EXPECT_EQ(line->writes[0], Bytes("%G1:20000.000000,1.000000"));
}

TEST_F(GeneratorFixture, FrequencyIsRoundedToSingleAndClamped) {
    waveform.SetItemIndex(1);
    EXPECT_EQ(Command("0", "1"), "%G010.250000,1.000000");
    EXPECT_EQ(Command("0.1", "1"), "%G010.250000,1.000000");
    EXPECT_EQ(Command("100", "1"), "%G01100.000000,1.000000");
    EXPECT_EQ(Command("2000000", "1"), "%G011000000.000000,1.000000");
    EXPECT_EQ(Command("20000.7", "1"), "%G0120000.699219,1.000000");
    EXPECT_EQ(Command("999999.9", "1"), "%G01999999.875000,1.000000");
    EXPECT_EQ(Command("1e999", "1"), "%G011000000.000000,1.000000");
    EXPECT_EQ(Command("-1e999", "1"), "%G010.250000,1.000000");
    EXPECT_EQ(Command("1e-999", "1"), "%G010.250000,1.000000");
}

TEST_F(GeneratorFixture, AmplitudeIsRoundedToSingleAndClampedToTheOutputRange) {
    waveform.SetItemIndex(1);
    EXPECT_EQ(Command("100", "5"), "%G01100.000000,3.300000");
    EXPECT_EQ(Command("100", "-1"), "%G01100.000000,0.000000");
    EXPECT_EQ(Command("100", "1.1"), "%G01100.000000,1.100000");
    EXPECT_EQ(Command("100", "3.3"), "%G01100.000000,3.300000");
    EXPECT_EQ(Command("100", "-0"), "%G01100.000000,0.000000");
    // A negative amplitude too small for a float rounds to zero, not to -0.
    EXPECT_EQ(Command("100", "-100e-0200"), "%G01100.000000,0.000000");
    EXPECT_EQ(Command("100", "1e999"), "%G01100.000000,3.300000");
    // The longest command with finite inputs.
    EXPECT_EQ(Command("1000000", "3.3"), "%G011000000.000000,3.300000");
}

TEST_F(GeneratorFixture, UntickedBoxSendsAndReadsNothing) {
    enable.SetChecked(false);
    frequency.SetText("not a number");  // never read, so no error either
    line->Feed("x");
    EXPECT_NO_THROW(Send());
    EXPECT_TRUE(line->written.empty());
    EXPECT_TRUE(display.Lines().empty());
    EXPECT_FALSE(rx.requestPending);
    EXPECT_EQ(line->input.size(), 1u);
}

TEST_F(GeneratorFixture, BadTextStopsBeforeAnythingIsLoggedWrittenOrRequested) {
    struct Case {
        const char* freq;
        const char* ampl;
        const char* message;
    };
    for (const Case& c : {Case{"20000", "1.5V", "'1.5V' is not a valid floating point value"},
                          Case{"2k", "1.5V", "'2k' is not a valid floating point value"},
                          Case{"nan", "1", "'nan' is not a valid floating point value"},
                          Case{"20000", "inf", "'inf' is not a valid floating point value"},
                          Case{"", "1", "'' is not a valid floating point value"}}) {
        SCOPED_TRACE(std::string(c.freq) + " / " + c.ampl);
        frequency.SetText(c.freq);
        amplitude.SetText(c.ampl);
        line->Feed("x");
        try {
            Send();
            ADD_FAILURE() << c.freq << " / " << c.ampl;
        } catch (const InvalidFloatText& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_TRUE(line->written.empty());
        EXPECT_TRUE(display.Lines().empty());
        EXPECT_FALSE(rx.requestPending);
        EXPECT_FALSE(line->input.empty());  // not even drained
    }
}

TEST_F(GeneratorFixture, WithoutAPortTheCommandIsStillLoggedAndTheRequestMarked) {
    link.OpenPort(-1);  // closes the port, opens nothing
    display.Clear();
    waveform.SetItemIndex(2);
    Send(kGeneratorFormatB);
    EXPECT_EQ(display.Lines(), (std::vector<std::string>{"%G1220000.000000,1.000000"}));
    EXPECT_TRUE(rx.requestPending);
    EXPECT_TRUE(line->written.empty());
}

}  // namespace
}  // namespace velmora
