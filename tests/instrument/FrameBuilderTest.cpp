#include <gtest/gtest.h>

#include <cstdint>

#include "instrument/FrameBuilder.h"

namespace velmora {
namespace {

TEST(FrameBuilderTest, LaysOutMarkerPointCountFillerAndSamplePairs) {
    SignalSynth::Samples samples;
    for (int i = 0; i < 2048; ++i) {
        samples.channel[0][i] = static_cast<int16_t>(i - 1024);
        samples.channel[1][i] = static_cast<int16_t>(-2047 + (i % 7));
    }
    FrameBuilder::Frame frame;
    frame.fill(0xEE);
    FrameBuilder::Build(samples, 0x01020304u, frame);

    ASSERT_EQ(frame.size(), 8320u);
    EXPECT_EQ(frame[0], 'v');
    EXPECT_EQ(frame[1], 'Q');
    EXPECT_EQ(frame[2], 'v');
    EXPECT_EQ(frame[3], 'Q');
    EXPECT_EQ(frame[4], 0x04);
    EXPECT_EQ(frame[5], 0x03);
    EXPECT_EQ(frame[6], 0x02);
    EXPECT_EQ(frame[7], 0x01);
    for (int i = 8; i < 128; ++i) EXPECT_EQ(frame[i], 0) << i;
    // Pair 0: -1024 = 0xFC00, -2047 = 0xF801, little-endian.
    EXPECT_EQ(frame[128], 0x00);
    EXPECT_EQ(frame[129], 0xFC);
    EXPECT_EQ(frame[130], 0x01);
    EXPECT_EQ(frame[131], 0xF8);

    // The application's own view of the frame reads the same values back.
    SampleFrame view;
    std::copy(frame.begin(), frame.begin() + 128, view.header.begin());
    std::copy(frame.begin() + 128, frame.end(), view.samples.begin());
    EXPECT_EQ(view.PointCount(), 0x01020304u);
    for (int i = 0; i < 2048; ++i) {
        ASSERT_EQ(view.Sample(i, 0), samples.channel[0][i]) << i;
        ASSERT_EQ(view.Sample(i, 1), samples.channel[1][i]) << i;
    }
}

}  // namespace
}  // namespace velmora
