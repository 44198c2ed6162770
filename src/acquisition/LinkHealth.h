#pragma once

#include <cstdint>

#include "acquisition/ReceiveState.h"
#include "link/LinkCondition.h"
#include "link/SerialLink.h"

namespace velmora {

// How long a request may go without a complete frame before the link counts
// as failing: ten ticks, five requests, long after any honest reply.
inline constexpr int64_t kNoFrameMicros = 2'000'000;

// The link's state as the user is told it: the port's own condition (not
// open and why, gone), and for an open port what its answers are. An open
// port fails once a request has been outstanding kNoFrameMicros without a
// complete frame since the port was opened: with nothing read in that time
// it gives no answer, with bytes it answers with something that is not a
// frame. Under Hold nothing is requested, so nothing is missed.
LinkCondition LinkHealth(const SerialLink& link, const ReceiveState& rx, bool hold, int64_t now);

}  // namespace velmora
