#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <ostream>
#include <thread>

#include "acquisition/AcquisitionCycle.h"
#include "acquisition/RequestData.h"
#include "integration/InstrumentSession.h"

namespace velmora {
namespace {

using test::InstrumentSession;

InstrumentOptions Quiet() {
    InstrumentOptions options;
    options.noise = 0;
    return options;
}

TEST(InstrumentLinkTest, StartUpOpensTheInstrumentAndFramesArrive) {
    InstrumentSession session(Quiet());
    ASSERT_TRUE(session.Started()) << session.Error();
    TForm2& form = session.Form();
    form.FormCreate();
    ASSERT_EQ(form.ComPort.Count(), 1);
    EXPECT_STREQ(form.Link().CommPath(), session.Instrument().LinkPath().c_str());
    EXPECT_TRUE(form.Link().IsOpen());
    // The request of start-up is answered at once: the first tick completes it.
    EXPECT_EQ(session.TicksUntilFrames(1, 1), 1);
    // Each tick asks for the next frame and draws it: the ceiling of one frame a tick.
    EXPECT_EQ(session.TicksUntilFrames(5, 10), 5);
    EXPECT_TRUE(session.Errors().messages.empty());
}

TEST(InstrumentLinkTest, CommandsReachTheInstrumentWithTheirValues) {
    InstrumentSession session(Quiet());
    ASSERT_TRUE(session.Started()) << session.Error();
    TForm2& form = session.Form();
    form.FormCreate();
    form.Scale1.UserSelect(3);
    form.Scale2.UserSelect(5);
    form.SyncSrcBox.UserSelect(0);
    form.SyncPolBox.UserSelect(0);
    form.SyncVoltBar.SetPosition(-700);
    form.SyncPosBar.SetPosition(300);
    // The first frame answers start-up's request, which may come before the
    // instrument has read the commands; the second is requested after them.
    session.TicksUntilFrames(2, 6);
    const InstrumentState s = session.Instrument().Snapshot();
    EXPECT_EQ(s.range[0], 3);
    EXPECT_EQ(s.range[1], 5);
    EXPECT_EQ(s.syncSource, 0);
    EXPECT_EQ(s.syncPolarity, 0);
    EXPECT_EQ(s.syncLevel, 700);
    EXPECT_EQ(s.syncPosition, 300);
    // Only the second of the two sync commands sent before the lists are
    // settled reaches the line: the first goes out before the port is open.
    EXPECT_EQ(s.counters.errors, 1u);
    form.SweepSpeed.UserSelect(0);
    session.TicksUntilFrames(1, 4);
    EXPECT_TRUE(session.Instrument().Snapshot().XYMode());
    EXPECT_EQ(form.Receive().frame.PointCount(), 2048u);
}

TEST(InstrumentLinkTest, TheSamplesAreThoseTheInstrumentGenerated) {
    InstrumentSession session(Quiet());
    ASSERT_TRUE(session.Started()) << session.Error();
    TForm2& form = session.Form();
    form.FormCreate();
    form.Scale1.UserSelect(5);      // +-4 V: 1 V peak is 512 counts
    form.SyncSrcBox.UserSelect(0);  // trigger on channel 1
    form.SyncPolBox.UserSelect(0);  // rising
    form.Waveform1.UserSelect(1);   // sine
    form.Freq1.SetText("1000");
    form.Ampl1.SetText("1.00");
    form.EnableA.UserClick();
    ASSERT_EQ(session.TicksUntilFrames(1, 4) <= 4, true);
    const SampleFrame& frame = form.Receive().frame;
    int peak = 0;
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(frame.Sample(i, 0))));
        ASSERT_EQ(frame.Sample(i, 1), 0) << i;  // generator B is off
    }
    EXPECT_NEAR(peak, 512, 4);
    // Rising through 0 at the trigger position, and a period of 102.4 samples.
    EXPECT_LT(frame.Sample(1023, 0), 0);
    EXPECT_GE(frame.Sample(1024, 0), 0);
    EXPECT_LT(frame.Sample(1024 + 102, 0), 40);
    EXPECT_GT(frame.Sample(1024 + 26, 0), 500);
}

// Unplugged and plugged in again: the instrument's pseudo-terminal closes,
// then a fresh instrument (at its own defaults: widest range, generators off)
// registers under the same port name.
TEST(InstrumentLinkTest, APulledInstrumentIsShownGoneAndReopenedInLineWhenBack) {
    InstrumentSession session(Quiet());
    ASSERT_TRUE(session.Started()) << session.Error();
    TForm2& form = session.Form();
    form.FormCreate();
    form.Scale1.UserSelect(5);  // +-4 V: 1 V peak is 512 counts
    form.Waveform1.UserSelect(1);
    form.Freq1.SetText("1000");
    form.EnableA.UserClick();
    session.TicksUntilFrames(2, 10);
    const std::string link = session.Instrument().LinkPath();
    // Ticks as the timer runs them, until `done`; the time that took.
    const auto tickUntil = [&](const std::function<bool()>& done) {
        const auto start = std::chrono::steady_clock::now();
        for (int tick = 0; tick < 25 && !done(); ++tick) {
            form.Timer1Timer();
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return std::chrono::steady_clock::now() - start;
    };

    session.StopInstrument();
    EXPECT_LT(tickUntil([&] { return !form.LinkStatus().Empty(); }), std::chrono::seconds(3));
    EXPECT_EQ(form.LinkStatus().what, link.substr(link.rfind('/') + 1) + ": gone (disconnected)");
    EXPECT_FALSE(form.Link().IsOpen());

    InstrumentOptions back = Quiet();
    back.traceFile = link + ".trace";
    ASSERT_TRUE(session.StartInstrument(back)) << session.Error();
    ASSERT_EQ(session.Instrument().LinkPath(), link);
    int firstPeak = -1;
    bool textUntilThen = false;
    form.onFrameShown = [&](const FrameRecord& shown) {
        if (firstPeak >= 0) return;  // only the first frame after the reopen
        textUntilThen = !form.LinkStatus().Empty();
        for (std::size_t i = 0; i < kSamplePairs; ++i) {
            firstPeak = std::max(firstPeak, std::abs(static_cast<int>(shown.frame.Sample(i, 0))));
        }
    };
    EXPECT_LT(tickUntil([&] { return form.Link().IsOpen(); }), std::chrono::seconds(2));
    tickUntil([&] { return firstPeak >= 0; });
    // The first frame drawn was asked for after the range and the generator
    // (a 1 V sine on +-4 V, not the instrument's flat defaults); the text
    // stood until that frame and went with it.
    EXPECT_NEAR(firstPeak, 512, 8);
    EXPECT_TRUE(textUntilThen);
    EXPECT_TRUE(form.LinkStatus().Empty());
    std::ifstream in(back.traceFile);
    std::vector<std::string> wire;
    for (std::string line; wire.size() < 7 && std::getline(in, line);) wire.push_back(line);
    EXPECT_EQ(wire, (std::vector<std::string>{"z", "S 1 1 1024 0", "S 1 1 1024 0", "X 5", "Y 7",
                                              "G 0 1 1000 1", "z"}));
}

struct FaultCase {
    const char* name;
    InstrumentOptions options;
    bool framesComplete;
};

// A failing case names itself instead of showing its bytes.
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class FaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultTest, TheCycleBehavesAndNothingHangs) {
    InstrumentOptions options = GetParam().options;
    options.noise = 0;
    InstrumentSession session(options);
    ASSERT_TRUE(session.Started()) << session.Error();
    TForm2& form = session.Form();
    form.FormCreate();
    const auto start = std::chrono::steady_clock::now();
    for (int tick = 0; tick < 5; ++tick) {
        form.Timer1Timer();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const auto spent = std::chrono::steady_clock::now() - start;
    if (GetParam().framesComplete) {
        EXPECT_GE(form.Receive().framesReceived, 2u);
    } else {
        EXPECT_EQ(form.Receive().framesReceived, 0u);
    }
    // Each tick is bounded by the drain and receive bounds, whatever the peer
    // does (a broken-off frame keeps its phase reading for the rule's 80 empty
    // reads), with one read's overrun of each and some slack for the machine.
    const auto tickBound = std::chrono::microseconds(kDrainBudgetMicros + kReceivePhaseCapMicros +
                                                     2 * kEmptyReadMicros + 500'000);
    EXPECT_LT(spent, 5 * tickBound);
    // Start-up's request, then one at least every other tick (ticks 2 and 4
    // when no frame completes, every tick once frames flow).
    EXPECT_GE(session.Instrument().Snapshot().counters.dataRequests, 3u);
}

InstrumentOptions With(void (*set)(InstrumentOptions&)) {
    InstrumentOptions o;
    set(o);
    return o;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    ::testing::Values(
        FaultCase{"stray", With([](InstrumentOptions& o) { o.stray = 5; }), true},
        FaultCase{"stray128", With([](InstrumentOptions& o) { o.stray = 128; }), true},
        FaultCase{"damaged", With([](InstrumentOptions& o) { o.damageMarker = true; }), false},
        FaultCase{"short", With([](InstrumentOptions& o) { o.shortFrame = 5000; }), false},
        FaultCase{"silent", With([](InstrumentOptions& o) { o.silent = true; }), false},
        FaultCase{"flood", With([](InstrumentOptions& o) { o.flood = true; }), false},
        FaultCase{"late", With([](InstrumentOptions& o) { o.lateMs = 150; }), true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora
