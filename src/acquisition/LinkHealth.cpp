#include "acquisition/LinkHealth.h"

#include <algorithm>

namespace velmora {

LinkCondition LinkHealth(const SerialLink& link, const ReceiveState& rx, bool hold, int64_t now) {
    const LinkCondition port = link.Condition();
    if (port != LinkCondition::kFramesArriving) return port;
    if (hold || !rx.requestPending || rx.waitingSince < 0) return port;
    const int64_t since = std::max(rx.waitingSince, link.OpenedAt());
    if (now - since < kNoFrameMicros) return port;
    return link.LastByteAt() > since ? LinkCondition::kNotFrames : LinkCondition::kNoAnswer;
}

}  // namespace velmora
