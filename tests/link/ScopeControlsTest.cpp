#include <gtest/gtest.h>

#include <cstdint>

#include "link/ScopeControls.h"
#include "support/FakeSerialPort.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

std::string Hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

struct ScopeFixture : ::testing::Test {
    test::VirtualClock clock;
    test::FakeSerialPorts ports{clock};
    std::shared_ptr<test::FakeLine> line = ports.AddPort("ttyACM0", "/dev/ttyACM0");
    Memo display;
    SerialLink link{ports, display, clock};
    ListBox sweep, source, polarity, probe1, scale1, probe2, scale2, comPort;
    ScrollBar volt{-2000, 2000, 0}, pos{0, 2048, 1024};
    ScopeControls scope{
        ScopePanel{sweep, source, polarity, volt, pos, probe1, scale1, probe2, scale2}, link,
        display};

    void SetUp() override {
        for (const char* s : {"XY Mode", "2 mSec/div"}) sweep.Add(s);
        for (const char* s : {"Ch1", "Ch2"}) source.Add(s);
        for (const char* s : {"Rise", "Fall"}) polarity.Add(s);
        for (ListBox* p : {&probe1, &probe2}) {
            p->Add("x10");
            p->Add("x1");
            p->SetItemIndex(1);
        }
        RelabelScale(scale1, 1);
        RelabelScale(scale2, 1);
        sweep.SetItemIndex(1);
        source.SetItemIndex(0);
        polarity.SetItemIndex(0);
        link.DiscoverPorts(comPort);
        link.OpenPort(0);
        display.Clear();
    }

    std::string SyncBytes(int sweepIndex, int src, int pol, int position, int barPosition) {
        sweep.SetItemIndex(sweepIndex);
        source.SetItemIndex(src);
        polarity.SetItemIndex(pol);
        pos.SetPosition(position);
        volt.SetPosition(barPosition);
        line->written.clear();
        scope.UpdateSyncClick();
        return Hex(line->WrittenText());
    }
};

TEST_F(ScopeFixture, SyncCommandIsFifteenBytesWithFieldsPaddedToFive) {
    EXPECT_EQ(SyncBytes(1, 0, 0, 1024, 0), "25 53 30 30 20 31 30 32 34 20 20 20 20 30 0D");
    EXPECT_EQ(SyncBytes(1, 1, 1, 298, 2000), "25 53 31 31 20 20 32 39 38 2D 32 30 30 30 0D");
    EXPECT_EQ(SyncBytes(0, 0, 0, 1024, 700), "25 53 30 30 20 31 30 32 34 20 32 30 30 30 0D");
    EXPECT_EQ(SyncBytes(0, 0, 0, 0, -700), "25 53 30 30 20 20 20 20 30 20 32 30 30 30 0D");
    EXPECT_EQ(SyncBytes(1, 0, 0, 2048, -2000), "25 53 30 30 20 32 30 34 38 20 32 30 30 30 0D");
    EXPECT_EQ(SyncBytes(1, 0, 0, 2048, 500), "25 53 30 30 20 32 30 34 38 20 2D 35 30 30 0D");
    EXPECT_EQ(scope.Sync().syncPosition, 2048);
    EXPECT_EQ(scope.Sync().syncLevel, -500);
    // Every position and level fits the fifteen bytes.
    for (int p : {0, 1, 999, 2048}) {
        for (int v : {-2000, -500, 0, 1, 2000}) {
            EXPECT_EQ(SyncBytes(1, 1, 0, p, v).size(), 15u * 3 - 1);
        }
    }
    EXPECT_EQ(display.Lines().back(), "%S10 2048-2000\r");
    // Lists not yet settled (a settings file may hold any index) send the low
    // byte of '0' + index, without overflowing on the way.
    EXPECT_EQ(SyncBytes(1, -1, 2, 1024, 0), "25 53 2F 32 20 31 30 32 34 20 20 20 20 30 0D");
    EXPECT_EQ(SyncBytes(1, INT32_MAX, INT32_MIN, 1024, 0),
              "25 53 2F 30 20 31 30 32 34 20 20 20 20 30 0D");
}

TEST_F(ScopeFixture, XyModeAlwaysSendsLevel2000AndSweepLogsThenSyncs) {
    volt.SetPosition(-1234);
    sweep.SetItemIndex(0);
    display.Clear();
    scope.SweepSpeedClick();
    EXPECT_EQ(display.Lines(), (Lines{"SweepSpeed 0", "%S00 1024 2000\r"}));
    EXPECT_EQ(scope.Sync().syncLevel, 2000);
    sweep.SetItemIndex(1);
    scope.SweepSpeedClick();
    EXPECT_EQ(display.Lines().back(), "%S00 1024 1234\r");
}

TEST_F(ScopeFixture, RangeCommandsAreFourBytesForEveryIndex) {
    for (int i = 0; i < 8; ++i) {
        scale1.SetItemIndex(i);
        scale2.SetItemIndex(i);
        line->written.clear();
        display.Clear();
        scope.ScaleClick(1);
        scope.ScaleClick(2);
        const std::string digit(1, static_cast<char>('0' + i));
        EXPECT_EQ(line->WrittenText(), "%X" + digit + "\r%Y" + digit + "\r");
        EXPECT_EQ(display.Lines(), (Lines{"Range " + digit, "%X" + digit + "\r", "Range " + digit,
                                          "%Y" + digit + "\r"}));
    }
}

TEST_F(ScopeFixture, ProbeRelabelsKeepsTheRangeAndSendsNothing) {
    scale1.SetItemIndex(3);
    probe1.SetItemIndex(0);
    line->written.clear();
    scope.ProbeClick(1);
    EXPECT_EQ(display.Lines(), (Lines{"ProbeType1 0"}));
    EXPECT_TRUE(line->written.empty());
    EXPECT_EQ(scale1.ItemIndex(), 3);
    EXPECT_EQ(scale1.TopIndex(), 3);
    EXPECT_EQ(scale1.Item(3),
              "\xB1"
              "120V");
    EXPECT_EQ(scale1.Item(4),
              "\xB1"
              "80 V");
    EXPECT_EQ(scale2.Item(0),
              "\xB1"
              "24V");  // the other channel keeps its labels

    // Without a range selection the smallest range ends selected; without a
    // probe selection the "x1" labels are used.
    scale2.SetItemIndex(-1);
    probe2.SetItemIndex(-1);
    scope.ProbeClick(2);
    EXPECT_EQ(display.Lines().back(), "ProbeType2 -1");
    EXPECT_EQ(scale2.ItemIndex(), 7);
    EXPECT_EQ(scale2.Item(7),
              "\xB1"
              "1 V");
}

}  // namespace
}  // namespace velmora
