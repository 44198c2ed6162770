#pragma once

#include <cstdint>
#include <functional>

#include "acquisition/ReceiveState.h"
#include "link/SerialLink.h"
#include "platform/CheckBox.h"
#include "platform/Clock.h"

namespace velmora {

// Longest one receive phase may read. Above the 1.3 s a silent line takes (10
// empty reads of 129 ms) and the 0.72 s a whole frame takes at 115200 baud, so
// it only ever cuts short a peer that keeps sending without a frame, or a
// broken-off frame that would otherwise keep the window busy for seconds.
inline constexpr int64_t kReceiveBudgetMicros = 1'500'000;

// The 200 ms tick: request a frame when none is outstanding (or the last one
// is overdue, unless Hold is ticked), read what has arrived 128 bytes at a
// time, and redraw once a whole frame is in.
class AcquisitionCycle {
  public:
    AcquisitionCycle(ReceiveState& rx, SerialLink& link, CheckBox& holdBox, Clock& clock)
        : rx_(rx), link_(link), holdBox_(holdBox), clock_(clock) {}

    // Runs when a redraw is due (a frame completed, or the screen was clicked).
    std::function<void()> drawFrame;

    void Timer1Timer();
    void ReceiveFrame();

  private:
    // Accepts the header when the marker leads it; otherwise drops 1 to 3 bytes
    // so the next reads refill the header from the marker's likely start.
    void CheckHeader();
    void CompleteBlock();

    ReceiveState& rx_;
    SerialLink& link_;
    CheckBox& holdBox_;
    Clock& clock_;
};

}  // namespace velmora
