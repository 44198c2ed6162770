#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "acquisition/ReceiveState.h"
#include "controls/CheckBox.h"
#include "link/SerialLink.h"
#include "system/Clock.h"

namespace velmora {

// The acquisition rule's read budgets: a receive phase gives up after 10
// empty reads on a silent line, and after 80 empty reads in a row once data
// has come.
inline constexpr int kIdleReadsAtStart = 10;
inline constexpr int kIdleReadsAfterData = 80;

// An empty read waits out the whole read time-out: 128 bytes at 1 ms each
// plus 1 ms.
inline constexpr int64_t kEmptyReadMicros = (static_cast<int64_t>(kBlockBytes) + 1) * 1000;

// Bounds of one receive phase against a peer that never stops sending. The
// idle budget alone never ends a phase while bytes keep coming, so a flood, or
// a stream in which the marker never occurs, would keep the window frozen for
// ever; a time limit alone would also cut off an honest but slow sender (at
// 400 us a byte a frame takes 3.3 s) and, with the two-tick deadline, abandon
// every one of its frames. So the phase is bounded by what the bytes are:
//  - a frame's worth of bytes read while still awaiting the header means no
//    frame is coming from this stream; a real reply shows its marker within
//    its first 128 bytes, and even one behind a block of stray bytes finds it
//    long before that;
//  - once the header is in, the frame completes within its 8192 sample bytes,
//    so a fast peer cannot keep the phase going;
//  - a peer that trickles a byte just often enough to keep the idle budget
//    alive is stopped by a hard cap no longer than the freeze the rule itself
//    allows after a broken-off frame (80 empty reads of 129 ms, 10.3 s).
inline constexpr std::size_t kHeaderSearchBytes = kFrameBytes;
inline constexpr int64_t kReceivePhaseCapMicros = kIdleReadsAfterData * kEmptyReadMicros;

// A frame that breaks off (a short reply, an instrument reset in mid-frame)
// would keep the window frozen through all 80 empty reads, 10.3 s, at every
// request. An instrument never pauses inside a frame, so once data has come,
// silence ends the phase as soon as it has lasted as long as a silent line's
// whole phase (10 empty reads, 1.29 s). A frame that does resume is still
// received by the next tick, up to its deadline.
inline constexpr int64_t kSilenceAfterDataMicros = kIdleReadsAtStart * kEmptyReadMicros;

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
