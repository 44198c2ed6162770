#include <gtest/gtest.h>

#include "acquisition/AcquisitionCycle.h"
#include "acquisition/RequestData.h"
#include "support/FakeSerialPort.h"

namespace velmora {
namespace {

// A frame as the instrument sends it; sample i of channel 1 is i - 1000 and of
// channel 2 is `base` - i, so a frame shows where each pair landed.
std::vector<uint8_t> MakeFrame(int base = 0, uint32_t points = 2048) {
    std::vector<uint8_t> f(kFrameBytes, 0xEE);
    std::copy(kFrameMarker.begin(), kFrameMarker.end(), f.begin());
    for (int b = 0; b < 4; ++b) f[4 + b] = static_cast<uint8_t>(points >> (8 * b));
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        const auto put = [&](std::size_t at, int v) {
            f[at] = static_cast<uint8_t>(v & 0xFF);
            f[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
        };
        put(kHeaderBytes + 4 * i, static_cast<int>(i) - 1000);
        put(kHeaderBytes + 4 * i + 2, base - static_cast<int>(i));
    }
    return f;
}

void ExpectFrameHeld(const ReceiveState& rx, int base = 0) {
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        ASSERT_EQ(rx.frame.Sample(i, 0), static_cast<int>(i) - 1000) << i;
        ASSERT_EQ(rx.frame.Sample(i, 1), base - static_cast<int>(i)) << i;
    }
}

struct CycleFixture : ::testing::Test {
    test::VirtualClock clock;
    test::FakeSerialPorts ports{clock};
    std::shared_ptr<test::FakeLine> line = ports.AddPort("ttyACM0", "/dev/ttyACM0");
    Memo display;
    SerialLink link{ports, display, clock};
    ListBox comPort;
    CheckBox hold;
    ReceiveState rx;
    AcquisitionCycle cycle{rx, link, hold, clock};
    int draws = 0;
    std::vector<uint8_t> reply = MakeFrame();
    bool answer = true;

    void SetUp() override {
        link.DiscoverPorts(comPort);
        link.OpenPort(0);
        cycle.drawFrame = [this] { ++draws; };
        line->onWrite = [this](const std::vector<uint8_t>& bytes) {
            if (answer && bytes == std::vector<uint8_t>{'%', 'z', '\r', '\n'}) line->Feed(reply);
        };
    }
    int Requests() const {
        int n = 0;
        for (const auto& w : line->writes) n += w == std::vector<uint8_t>{'%', 'z', '\r', '\n'};
        return n;
    }
};

TEST_F(CycleFixture, AFrameInOneBytePiecesEqualsOneInBlocks) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{128}, std::size_t{1000}}) {
        line->maxPerRead = piece;
        rx.frame = SampleFrame{};
        const int before = draws;
        cycle.Timer1Timer();
        EXPECT_EQ(draws, before + 1) << piece;  // drawn in the tick of its request
        EXPECT_FALSE(rx.requestPending);
        EXPECT_EQ(rx.frame.PointCount(), 2048u);
        ExpectFrameHeld(rx);
    }
    EXPECT_EQ(Requests(), 3);  // each following tick asks for the next frame
}

TEST_F(CycleFixture, StrayBytesBeforeTheMarkerAreSkipped) {
    for (std::size_t stray : {std::size_t{5}, std::size_t{3}, std::size_t{128}, std::size_t{129}}) {
        reply = std::vector<uint8_t>(stray, 0x20);
        const auto frame = MakeFrame(static_cast<int>(stray));
        reply.insert(reply.end(), frame.begin(), frame.end());
        const int before = draws;
        cycle.Timer1Timer();
        EXPECT_EQ(draws, before + 1) << stray;
        ExpectFrameHeld(rx, static_cast<int>(stray));
    }
}

TEST_F(CycleFixture, FiveStrayBytesCostTwoRefillsOfThreeThenTwo) {
    reply = {1, 2, 3, 4, 5};
    const auto frame = MakeFrame();
    reply.insert(reply.end(), frame.begin(), frame.end());
    line->maxPerRead = 128;
    cycle.Timer1Timer();
    // Request drain (1 empty read), then header reads of 128, 3, 2 bytes, then
    // 64 sample blocks.
    EXPECT_EQ(line->reads, 1 + 3 + 64);
    EXPECT_EQ(draws, 1);
}

TEST_F(CycleFixture, SilenceReadsTenTimesAndRequestsAgainAtTheDeadline) {
    answer = false;
    cycle.Timer1Timer();  // tick 1: request, deadline 3
    EXPECT_EQ(Requests(), 1);
    EXPECT_EQ(rx.replyDeadline, 3u);
    const int readsAfterRequestTick = line->reads;
    EXPECT_EQ(readsAfterRequestTick, 1 + 10);  // the drain's empty read and ten more
    cycle.Timer1Timer();                       // tick 2: only reads
    EXPECT_EQ(Requests(), 1);
    EXPECT_EQ(line->reads, readsAfterRequestTick + 10);
    cycle.Timer1Timer();  // tick 3: deadline reached, asks again
    EXPECT_EQ(Requests(), 2);
    EXPECT_EQ(draws, 0);
}

TEST_F(CycleFixture, HoldLetsAnOutstandingFrameFinishThenAsksForNothing) {
    answer = false;
    cycle.Timer1Timer();
    line->Feed(std::vector<uint8_t>(reply.begin(), reply.begin() + 4000));
    hold.SetChecked(true);
    cycle.Timer1Timer();
    cycle.Timer1Timer();
    cycle.Timer1Timer();  // well past the deadline
    EXPECT_EQ(Requests(), 1);
    EXPECT_TRUE(rx.requestPending);
    line->Feed(std::vector<uint8_t>(reply.begin() + 4000, reply.end()));
    cycle.Timer1Timer();
    EXPECT_EQ(draws, 1);
    ExpectFrameHeld(rx);
    cycle.Timer1Timer();
    cycle.Timer1Timer();
    EXPECT_EQ(Requests(), 1);
    EXPECT_EQ(draws, 1);
}

TEST_F(CycleFixture, BytesAfterAFrameAreDrainedAndNeverTakenAsAHeader) {
    const auto frame = MakeFrame();
    reply.insert(reply.end(), frame.begin(), frame.begin() + 700);  // a stale tail
    cycle.Timer1Timer();
    EXPECT_EQ(draws, 1);
    reply = MakeFrame(77);
    cycle.Timer1Timer();
    EXPECT_EQ(draws, 2);
    ExpectFrameHeld(rx, 77);
    EXPECT_TRUE(line->input.empty());
}

TEST_F(CycleFixture, AShortFrameIsAbandonedAtTheDeadline) {
    reply.resize(5000);
    // The broken-off frame holds the window only for the silence bound, not
    // for the 80 empty reads of 129 ms that would follow it.
    for (int tick = 0; tick < 2; ++tick) {
        const int64_t start = clock.NowMicros();
        cycle.Timer1Timer();
        EXPECT_LE(clock.NowMicros() - start, kSilenceAfterDataMicros + 2 * kEmptyReadMicros)
            << tick;
    }
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(Requests(), 1);
    reply = MakeFrame(5);
    cycle.Timer1Timer();  // the deadline tick asks again, and this one is whole
    EXPECT_EQ(Requests(), 2);
    EXPECT_EQ(draws, 1);
    ExpectFrameHeld(rx, 5);
}

TEST_F(CycleFixture, ASlowButSteadySenderGetsEveryFrameDrawn) {
    // 260 and 400 us a byte: a frame takes 2.2 s and 3.3 s to arrive, longer
    // than a tick and its deadline, but the line never falls silent.
    for (const int64_t micros : {int64_t{260}, int64_t{400}}) {
        line->microsPerByte = micros;
        const int drawsBefore = draws, requestsBefore = Requests();
        for (int frame = 1; frame <= 12; ++frame) {
            reply = MakeFrame(frame);
            cycle.Timer1Timer();
            ASSERT_EQ(draws, drawsBefore + frame) << micros << " us, frame " << frame;
            ExpectFrameHeld(rx, frame);
        }
        EXPECT_EQ(Requests(), requestsBefore + 12) << micros;  // none abandoned
    }
}

TEST_F(CycleFixture, APeerThatNeverStopsSendingEndsEachTickWithinItsBound) {
    constexpr int64_t kMicrosPerByte = 87;  // 115200 baud
    answer = false;
    line->flood = true;
    line->microsPerByte = kMicrosPerByte;
    // A flood without a marker: each phase gives up after a frame's worth of
    // bytes, the drain of each new request after its own budget.
    for (int tick = 0; tick < 4; ++tick) {
        const int64_t start = clock.NowMicros();
        cycle.Timer1Timer();
        const int64_t bound =
            (tick % 2 == 0 ? kDrainBudgetMicros : 0) +
            static_cast<int64_t>(kHeaderSearchBytes + 2 * kBlockBytes) * kMicrosPerByte;
        EXPECT_LE(clock.NowMicros() - start, bound) << tick;
        EXPECT_TRUE(rx.requestPending);
    }
    EXPECT_EQ(Requests(), 2);
    EXPECT_EQ(draws, 0);

    // A peer that trickles one byte every 100 ms keeps the idle budget alive
    // for ever; the hard cap ends the phase.
    line->flood = false;
    line->input.clear();
    line->microsPerByte = 100'000;
    line->maxPerRead = 1;
    answer = true;
    cycle.Timer1Timer();  // the deadline tick: a new request
    const int64_t start = clock.NowMicros();
    cycle.Timer1Timer();
    const int64_t spent = clock.NowMicros() - start;
    EXPECT_GE(spent, kReceivePhaseCapMicros);
    EXPECT_LE(spent, kReceivePhaseCapMicros + 100'000);
    EXPECT_TRUE(rx.requestPending);
    EXPECT_EQ(draws, 0);
}

TEST_F(CycleFixture, WithoutAPortRequestsRepeatEveryOtherTickAndNothingIsDrawn) {
    link.OpenPort(-1);
    for (int i = 0; i < 6; ++i) cycle.Timer1Timer();
    EXPECT_EQ(rx.timerTicks, 6u);
    EXPECT_EQ(line->reads, 0);
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(rx.replyDeadline, 7u);  // requested at ticks 1, 3 and 5
}

}  // namespace
}  // namespace velmora
