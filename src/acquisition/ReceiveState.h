#pragma once

#include <cstdint>

#include "link/FrameFormat.h"

namespace velmora {

// Where the next received bytes go: the header block, or one of the 64
// sample blocks (0..63); past the last block once a frame is complete.
inline constexpr int kHeaderBlock = -1;

// The request/receive state shared by the data request and the timer tick.
// All of it is fixed storage; nothing is allocated while frames arrive.
struct ReceiveState {
    SampleFrame frame;            // RxBuffer (header) and Samples
    int rxBlock = kHeaderBlock;   // RxPointer
    int32_t rxCount = 0;          // RxCount: bytes already in the current block
    bool requestPending = false;  // RequestPending
    bool frameReady = false;      // FrameReady
    uint32_t timerTicks = 0;      // TimerTicks
    uint32_t replyDeadline = 0;   // ReplyDeadline
    int32_t timerInterval = 200;  // TimerInterval, copied from the timer at start-up
    uint32_t framesReceived = 0;  // complete frames since start-up, for diagnostics
    uint32_t requestsSent = 0;    // data requests since start-up; a frame answers the last
    // When the first request since the last frame went out; -1 once a frame
    // has come (or before any request).
    int64_t waitingSince = -1;

    // The block the next read fills, or null past the last block.
    uint8_t* CurrentBlock() {
        if (rxBlock == kHeaderBlock) return frame.header.data();
        if (rxBlock >= 0 && rxBlock < kSampleBlocks) {
            return frame.samples.data() + static_cast<std::size_t>(rxBlock) * kBlockBytes;
        }
        return nullptr;
    }
};

}  // namespace velmora
