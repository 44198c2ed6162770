// The way from a frame to the line: fault injection, the reply queue and the
// pacing of a 115200-baud line, all on made-up times.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "instrument/LinePacer.h"
#include "instrument/OutputQueue.h"
#include "instrument/ReplyComposer.h"

namespace velmora {
namespace {

bool HoldsMarker(const std::vector<uint8_t>& bytes) {
    return std::search(bytes.begin(), bytes.end(), kFrameMarker.begin(), kFrameMarker.end()) !=
           bytes.end();
}

FrameBuilder::Frame SomeFrame() {
    SignalSynth::Samples samples;
    for (int i = 0; i < 2048; ++i) {
        samples.channel[0][i] = static_cast<int16_t>((i * 13) % 4095 - 2047);
        samples.channel[1][i] = static_cast<int16_t>(2047 - (i * 7) % 4095);
    }
    FrameBuilder::Frame frame;
    FrameBuilder::Build(samples, 2048, frame);
    return frame;
}

std::vector<uint8_t> Compose(const InstrumentOptions& options) {
    ReplyComposer composer(options);
    std::vector<uint8_t> out(ReplyComposer::kMaxReplyBytes);
    out.resize(composer.Compose(SomeFrame(), out.data()));
    return out;
}

TEST(ReplyComposerTest, PlainReplyIsTheFrame) {
    const std::vector<uint8_t> reply = Compose({});
    const FrameBuilder::Frame frame = SomeFrame();
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), frame.begin(), frame.end()));
}

TEST(ReplyComposerTest, StrayBytesPrecedeTheFrameAndNeverFormAMarker) {
    for (const int stray : {1, 5, 128, 4096}) {
        InstrumentOptions options;
        options.stray = stray;
        const std::vector<uint8_t> reply = Compose(options);
        ASSERT_EQ(reply.size(), kFrameBytes + stray);
        const auto marker =
            std::search(reply.begin(), reply.end(), kFrameMarker.begin(), kFrameMarker.end());
        EXPECT_EQ(marker - reply.begin(), stray);
    }
}

TEST(ReplyComposerTest, DamagedMarkerIsNowhereInTheReply) {
    InstrumentOptions options;
    options.damageMarker = true;
    options.stray = 3;
    const std::vector<uint8_t> reply = Compose(options);
    EXPECT_EQ(reply.size(), kFrameBytes + 3);
    EXPECT_FALSE(HoldsMarker(reply));
    EXPECT_EQ(reply[3], 'v');
}

TEST(ReplyComposerTest, ShortFrameIsTheFrontOfTheFrame) {
    InstrumentOptions options;
    options.shortFrame = 100;
    const std::vector<uint8_t> reply = Compose(options);
    ASSERT_EQ(reply.size(), 100u);
    const FrameBuilder::Frame frame = SomeFrame();
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), frame.begin()));
}

TEST(ReplyComposerTest, FillerNeverHoldsTheMarkerBytes) {
    ReplyComposer composer({});
    std::vector<uint8_t> filler(10000);
    composer.Fill(filler.data(), filler.size());
    EXPECT_EQ(std::count(filler.begin(), filler.end(), 'v'), 0);
    EXPECT_EQ(std::count(filler.begin(), filler.end(), 'Q'), 0);
}

TEST(OutputQueueTest, SendsRepliesInOrderWhenDue) {
    OutputQueue queue;
    const uint8_t first[] = {1, 2, 3};
    const uint8_t second[] = {4, 5};
    EXPECT_TRUE(queue.Push(first, 3, 100));
    EXPECT_TRUE(queue.Push(second, 2, 50));
    EXPECT_TRUE(queue.Full());
    EXPECT_FALSE(queue.Push(second, 2, 0));
    const uint8_t* data = nullptr;
    EXPECT_EQ(queue.Ready(99, data), 0u);  // the first one is not due yet
    ASSERT_EQ(queue.Ready(100, data), 3u);
    EXPECT_EQ(data[0], 1);
    EXPECT_FALSE(queue.Consume(2));
    ASSERT_EQ(queue.Ready(100, data), 1u);
    EXPECT_EQ(data[0], 3);
    EXPECT_TRUE(queue.Consume(1));
    ASSERT_EQ(queue.Ready(100, data), 2u);
    EXPECT_EQ(data[0], 4);
    EXPECT_TRUE(queue.Consume(2));
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.Push(first, 0, 0));  // an empty reply is dropped at once
    EXPECT_TRUE(queue.Empty());
}

// Drives a pacer like the serving loop does: wake at its wake time, send what
// it allows. Returns the times at which each byte was released.
std::vector<int64_t> PaceBytes(LinePacer& pacer, int64_t start, std::size_t total) {
    std::vector<int64_t> times;
    int64_t now = start;
    pacer.Restart(now);
    while (times.size() < total) {
        const std::size_t waiting = total - times.size();
        const std::size_t allowed = pacer.Allowance(now, waiting);
        for (std::size_t i = 0; i < allowed; ++i) times.push_back(now);
        pacer.Sent(allowed);
        const int64_t wake = pacer.WakeTime(now, total - times.size());
        EXPECT_TRUE(allowed > 0 || wake > now);
        now = std::max(wake, now);
    }
    return times;
}

TEST(LinePacerTest, AFrameTakesAsLongAsOnA115200BaudLine) {
    LinePacer pacer(true);
    const int64_t start = 5'000'000'000;
    const std::vector<int64_t> times = PaceBytes(pacer, start, kFrameBytes);
    // 8320 bytes of 10 bits: 722.2 ms.
    EXPECT_NEAR(static_cast<double>(times.back() - start) * 1e-6, 722.2, 0.5);
    for (std::size_t i = 0; i < times.size(); ++i) {
        // Never ahead of the line: byte i is released no earlier than its last bit.
        ASSERT_GE(times[i] - start, LinePacer::DurationNs(static_cast<int64_t>(i) + 1) - 1) << i;
    }
    // In chunks, not byte by byte.
    std::vector<int64_t> distinct = times;
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_LE(distinct.size(), kFrameBytes / LinePacer::kChunkBytes + 1);
}

TEST(LinePacerTest, AStallDoesNotTurnIntoALongBurst) {
    LinePacer pacer(true);
    pacer.Restart(0);
    pacer.Sent(pacer.Allowance(1'000'000, 10000));
    // The line was blocked for a second: only the allowed lag may go at once.
    const std::size_t burst = pacer.Allowance(1'001'000'000, 10000);
    EXPECT_LE(burst, static_cast<std::size_t>(LinePacer::kMaxLagNs * 115200 / 10'000'000'000 + 1));
    EXPECT_GT(burst, 0u);
}

TEST(LinePacerTest, UnpacedReleasesEverythingAtOnce) {
    LinePacer pacer(false);
    pacer.Restart(0);
    EXPECT_EQ(pacer.Allowance(0, kFrameBytes), kFrameBytes);
    EXPECT_EQ(pacer.WakeTime(7, 10), 7);
}

}  // namespace
}  // namespace velmora
