#include <gtest/gtest.h>

#include "acquisition/RequestData.h"
#include "link/SerialLink.h"
#include "support/FakeSerialPort.h"

namespace velmora {
namespace {

using test::FakeLine;
using test::FakeSerialPorts;
using test::VirtualClock;
using Lines = std::vector<std::string>;

struct LinkFixture : ::testing::Test {
    VirtualClock clock;
    FakeSerialPorts ports{clock};
    Memo display;
    SerialLink link{ports, display, clock};
    ListBox comPort;
};

TEST_F(LinkFixture, OpensConfiguresAndLogsTheWholeSequence) {
    auto line = ports.AddPort("ttyACM0", "/dev/ttyACM0");
    line->settings.xonChar = 0x11;  // something the device reported
    link.DiscoverPorts(comPort);
    ASSERT_EQ(comPort.ItemIndex(), 0);
    EXPECT_TRUE(link.OpenPort(0));
    EXPECT_EQ(display.Lines(), (Lines{"/dev/ttyACM0", "/dev/ttyACM0", "   opened", "/dev/ttyACM0",
                                      "   configured"}));
    const LineSettings& s = line->settings;
    EXPECT_EQ(s.baudRate, 115200u);
    EXPECT_EQ(s.byteSize, 8);
    EXPECT_EQ(s.parity, Parity::None);
    EXPECT_EQ(s.stopBits, StopBits::One);
    EXPECT_TRUE(s.dtrEnable);
    EXPECT_TRUE(s.rtsHandshake);
    EXPECT_EQ(s.xonLimit, 80);
    EXPECT_EQ(s.xoffLimit, 200);
    EXPECT_EQ(s.xonChar, 0x54);
    EXPECT_EQ(s.xoffChar, 0xD4);
    EXPECT_EQ(s.errorChar, 0x26);
    EXPECT_EQ(line->timeouts.readInterval, 1u);
    EXPECT_EQ(line->timeouts.readTotalMultiplier, 1u);
    EXPECT_EQ(line->timeouts.readTotalConstant, 1u);
    EXPECT_EQ(line->clearErrors, 2);
    EXPECT_STREQ(link.CommPath(), "/dev/ttyACM0");
}

TEST_F(LinkFixture, MissingAndBusyPortsLogTheirOwnLines) {
    ports.entries.push_back({"ttyUSB0", "/dev/ttyUSB0"});  // vanished after discovery
    ports.AddPort("ttyVIRT0", "/run/velmora/ports/ttyVIRT0");
    ports.busy["/run/velmora/ports/ttyVIRT0"] = true;
    link.DiscoverPorts(comPort);

    EXPECT_FALSE(link.OpenPort(0));
    EXPECT_TRUE(link.OpenFailed());
    EXPECT_FALSE(link.OpenPort(1));
    EXPECT_EQ(display.Lines(), (Lines{"/dev/ttyUSB0", "/dev/ttyUSB0", "   does not exist",
                                      "/run/velmora/ports/ttyVIRT0", "Error opening",
                                      "/run/velmora/ports/ttyVIRT0"}));
    // Nothing reaches a port that is not open, and reads deliver nothing.
    uint8_t byte = 0;
    EXPECT_EQ(link.Read(&byte, 1), 0u);
}

TEST_F(LinkFixture, EachConfigurationFailureStopsWithItsLineAndLeavesThePortOpen) {
    struct Case {
        bool FakeLine::*flag;
        const char* message;
    };
    for (const Case& c : {Case{&FakeLine::failGetState, "Error getting state of"},
                          Case{&FakeLine::failSetState, "Error setting state of"},
                          Case{&FakeLine::failTimeouts, "Error setting timeouts for"}}) {
        SCOPED_TRACE(c.message);
        VirtualClock localClock;
        FakeSerialPorts localPorts{localClock};
        Memo log;
        SerialLink localLink{localPorts, log, localClock};
        ListBox list;
        auto line = localPorts.AddPort("ttyS0", "/dev/ttyS0");
        (*line).*(c.flag) = true;
        localLink.DiscoverPorts(list);
        EXPECT_FALSE(localLink.OpenPort(0));
        EXPECT_TRUE(localLink.IsOpen());
        EXPECT_EQ(log.Lines(),
                  (Lines{"/dev/ttyS0", "/dev/ttyS0", "   opened", c.message, "/dev/ttyS0"}));
    }
}

TEST_F(LinkFixture, ReopeningTheOpenPortRunsTheFullSequenceAgain) {
    ports.AddPort("ttyACM0", "/dev/ttyACM0");
    link.DiscoverPorts(comPort);
    link.OpenPort(0);
    link.OpenPort(0);
    EXPECT_EQ(ports.opens, 2);
    EXPECT_EQ(display.Lines().size(), 10u);
    EXPECT_EQ(display.Lines()[5], "/dev/ttyACM0");
    EXPECT_EQ(display.Lines()[9], "   configured");
}

TEST_F(LinkFixture, WithoutPortsTheListIsEmptyAndNothingOpens) {
    link.DiscoverPorts(comPort);
    EXPECT_EQ(comPort.Count(), 0);
    EXPECT_EQ(comPort.ItemIndex(), -1);
    EXPECT_FALSE(link.OpenPort(comPort.ItemIndex()));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_TRUE(display.Lines().empty());
    EXPECT_STREQ(link.CommPath(), "COM5");
}

TEST_F(LinkFixture, WhatDiscoverySkippedIsLogged) {
    ports.notes = {"Port directory /tmp/p skipped: /tmp/p is open to other users (mode 0777)"};
    link.DiscoverPorts(comPort);
    EXPECT_EQ(display.Lines(), ports.notes);
}

TEST_F(LinkFixture, DiscoveryListsAtMostAHundredPorts) {
    for (int i = 0; i < 130; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "p%d", i);
        ports.entries.push_back({name, std::string("/dev/") + name});
    }
    link.DiscoverPorts(comPort);
    EXPECT_EQ(comPort.Count(), 100);
    EXPECT_EQ(comPort.ItemIndex(), 99);
    EXPECT_EQ(comPort.Item(99), "p99");
}

TEST_F(LinkFixture, RefreshKeepsTheSelectedPortByPathAndDoesNotReopen) {
    ports.AddPort("ttyACM0", "/dev/ttyACM0");
    ports.AddPort("ttyACM1", "/dev/ttyACM1");
    link.DiscoverPorts(comPort);
    comPort.SetItemIndex(1);
    link.OpenPort(1);
    ports.entries.insert(ports.entries.begin(), PortEntry{"ttyACM00", "/dev/ttyACM00"});
    link.RefreshPorts(comPort);
    EXPECT_EQ(comPort.Count(), 3);
    EXPECT_EQ(comPort.ItemIndex(), 2);
    EXPECT_EQ(comPort.Item(2), "ttyACM1");
    EXPECT_EQ(ports.opens, 1);

    // The selected port went away: nothing is selected, as the last entry
    // may be a device the user never chose.
    ports.entries.pop_back();
    link.RefreshPorts(comPort);
    EXPECT_EQ(comPort.ItemIndex(), -1);
    link.RefreshPorts(comPort);  // and none stays none
    EXPECT_EQ(comPort.ItemIndex(), -1);
}

TEST_F(LinkFixture, RequestDataDrainsThenWritesTheFourBytesAndSetsTheDeadline) {
    auto line = ports.AddPort("ttyACM0", "/dev/ttyACM0");
    link.DiscoverPorts(comPort);
    link.OpenPort(0);
    line->Feed(std::string(300, 'x'));  // stale answer, noise
    ReceiveState rx;
    rx.timerTicks = 41;
    rx.rxBlock = 5;
    rx.rxCount = 17;
    RequestData(link, rx, clock);
    EXPECT_TRUE(line->input.empty());
    EXPECT_EQ(line->WrittenText(), std::string("%z\r\n"));
    EXPECT_TRUE(rx.requestPending);
    EXPECT_EQ(rx.replyDeadline, 43u);
    EXPECT_EQ(rx.rxBlock, kHeaderBlock);
    EXPECT_EQ(rx.rxCount, 0);
    EXPECT_EQ(display.Lines().size(), 5u);  // the request is never logged
    // Three full reads and the final empty one, which waits out 129 ms.
    EXPECT_EQ(line->reads, 4);
}

TEST_F(LinkFixture, TheDrainOfAPeerThatNeverStopsIsBounded) {
    auto line = ports.AddPort("ttyACM0", "/dev/ttyACM0");
    link.DiscoverPorts(comPort);
    link.OpenPort(0);
    line->flood = true;
    line->microsPerByte = 87;  // 115200 baud
    ReceiveState rx;
    const int64_t start = clock.NowMicros();
    RequestData(link, rx, clock);
    const int64_t spent = clock.NowMicros() - start;
    EXPECT_GE(spent, kDrainBudgetMicros);
    EXPECT_LT(spent, kDrainBudgetMicros + 20'000);
    EXPECT_EQ(line->WrittenText(), std::string("%z\r\n"));
}

}  // namespace
}  // namespace velmora
