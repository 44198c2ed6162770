#pragma once

#include <cstdint>
#include <functional>

#include "link/FrameFormat.h"

namespace velmora::testing {

// A frame built by hand: sample i of each channel from a function of i.
inline SampleFrame MakeFrame(const std::function<int16_t(int)>& channel1,
                             const std::function<int16_t(int)>& channel2, uint32_t pointCount = 0) {
    SampleFrame frame;
    for (int i = 0; i < static_cast<int>(kSamplePairs); ++i) {
        const auto a = static_cast<uint16_t>(channel1(i));
        const auto b = static_cast<uint16_t>(channel2(i));
        const auto at = static_cast<std::size_t>(i) * kPairBytes;
        frame.samples[at] = static_cast<uint8_t>(a & 0xff);
        frame.samples[at + 1] = static_cast<uint8_t>(a >> 8);
        frame.samples[at + 2] = static_cast<uint8_t>(b & 0xff);
        frame.samples[at + 3] = static_cast<uint8_t>(b >> 8);
    }
    for (int byte = 0; byte < 4; ++byte) {
        frame.header[static_cast<std::size_t>(4 + byte)] =
            static_cast<uint8_t>(pointCount >> (8 * byte));
    }
    return frame;
}

inline int16_t Zero(int) { return 0; }

}  // namespace velmora::testing
