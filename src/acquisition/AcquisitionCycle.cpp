#include "acquisition/AcquisitionCycle.h"

#include <cstring>

#include "acquisition/RequestData.h"

namespace velmora {
namespace {

bool MarkerAt(const uint8_t* header, int offset) {
    return std::memcmp(header + offset, kFrameMarker.data(), kFrameMarker.size()) == 0;
}

}  // namespace

void AcquisitionCycle::Timer1Timer() {
    ++rx_.timerTicks;
    const bool waiting = rx_.requestPending && rx_.timerTicks < rx_.replyDeadline;
    if (!waiting) {
        if (!holdBox_.Checked()) RequestData(link_, rx_, clock_);
    }
    if (waiting || rx_.requestPending) ReceiveFrame();
    if (rx_.frameReady) {
        rx_.frameReady = false;
        if (drawFrame) drawFrame();
    }
}

void AcquisitionCycle::ReceiveFrame() {
    const int64_t start = clock_.NowMicros();
    int idleBudget = kIdleReadsAtStart;
    std::size_t headerSearchBytes = 0;
    int64_t lastData = -1;  // when the last read that delivered returned
    for (;;) {
        if (rx_.CurrentBlock() == nullptr) rx_.rxBlock = kHeaderBlock;
        uint8_t* block = rx_.CurrentBlock();
        const bool awaitingHeader = rx_.rxBlock == kHeaderBlock;
        const std::size_t want = kBlockBytes - static_cast<std::size_t>(rx_.rxCount);
        const std::size_t n = link_.Read(block + rx_.rxCount, want);
        if (idleBudget > 0) --idleBudget;
        if (n > 0) {
            rx_.rxCount += static_cast<int32_t>(n);
            idleBudget = kIdleReadsAfterData;
            lastData = clock_.NowMicros();
            if (awaitingHeader) headerSearchBytes += n;
            if (rx_.rxCount == static_cast<int32_t>(kBlockBytes)) {
                if (awaitingHeader) {
                    CheckHeader();
                } else {
                    CompleteBlock();
                }
            }
        }
        if ((n == 0 && idleBudget == 0) || !rx_.requestPending) return;
        if (n == 0 && lastData >= 0 && clock_.NowMicros() - lastData >= kSilenceAfterDataMicros) {
            return;
        }
        if (rx_.rxBlock == kHeaderBlock && headerSearchBytes >= kHeaderSearchBytes) return;
        if (clock_.NowMicros() - start >= kReceivePhaseCapMicros) return;
    }
}

void AcquisitionCycle::CompleteBlock() {
    const bool last = rx_.rxBlock == kSampleBlocks - 1;
    ++rx_.rxBlock;
    rx_.rxCount = 0;
    if (last) {
        rx_.requestPending = false;
        rx_.frameReady = true;
        rx_.waitingSince = -1;
        ++rx_.framesReceived;
    }
}

void AcquisitionCycle::CheckHeader() {
    uint8_t* header = rx_.frame.header.data();
    if (MarkerAt(header, 0)) {
        rx_.rxBlock = 0;
        rx_.rxCount = 0;
        return;
    }
    const int shift = MarkerAt(header, 1) ? 1 : MarkerAt(header, 2) ? 2 : 3;
    std::memmove(header, header + shift, kBlockBytes - static_cast<std::size_t>(shift));
    rx_.rxCount = static_cast<int32_t>(kBlockBytes) - shift;
}

}  // namespace velmora
