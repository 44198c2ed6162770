#include "acquisition/RequestData.h"

namespace velmora {
namespace {

void DrainInput(SerialLink& link, ReceiveState& rx, Clock& clock) {
    const int64_t start = clock.NowMicros();
    uint8_t* block = rx.CurrentBlock();
    const std::size_t room = kBlockBytes - static_cast<std::size_t>(rx.rxCount);
    // Every read lands at the start of the header block and is dropped.
    while (link.Read(block + rx.rxCount, room) > 0) {
        if (clock.NowMicros() - start >= kDrainBudgetMicros) break;
    }
}

}  // namespace

void RequestData(SerialLink& link, ReceiveState& rx, Clock& clock) {
    rx.rxBlock = kHeaderBlock;
    rx.rxCount = 0;
    DrainInput(link, rx, clock);
    rx.requestPending = true;
    ++rx.requestsSent;
    if (rx.waitingSince < 0) rx.waitingSince = clock.NowMicros();
    link.Write(kDataRequest, sizeof kDataRequest);
    rx.replyDeadline = static_cast<uint32_t>(500 / rx.timerInterval) + rx.timerTicks;
}

}  // namespace velmora
