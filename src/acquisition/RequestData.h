#pragma once

#include <cstdint>

#include "acquisition/ReceiveState.h"
#include "link/SerialLink.h"
#include "system/Clock.h"

namespace velmora {

// Longest the input drain of a data request may run. Generous enough to drop
// a whole stale frame at 115200 baud (about 0.72 s), but a peer that never
// stops sending cannot keep the UI thread in the drain for longer.
inline constexpr int64_t kDrainBudgetMicros = 1'000'000;

// The four bytes that ask the instrument for one frame: "%z" CR LF.
inline constexpr uint8_t kDataRequest[4] = {0x25, 0x7A, 0x0D, 0x0A};

// Drops whatever input is waiting, marks a request outstanding, asks the
// instrument for a frame and sets the reply deadline. Abandons any frame on
// its way. Never logged.
void RequestData(SerialLink& link, ReceiveState& rx, Clock& clock);

}  // namespace velmora
