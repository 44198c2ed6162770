#include "instrument/LinePacer.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr int64_t kRebaseCount = 1'000'000;

}  // namespace

void LinePacer::Restart(int64_t now) {
    if (origin_ + DurationNs(count_) < now) {
        origin_ = now;
        count_ = 0;
    }
}

// Bytes whose last bit is on the line by `now`, counted from origin_.
int64_t LinePacer::DueCount(int64_t now) const {
    if (now < origin_) return 0;
    return (now - origin_) * kBaud / (kBitsPerByte * 1'000'000'000);
}

std::size_t LinePacer::Allowance(int64_t now, std::size_t wanted) {
    if (!paced_) return wanted;
    if (now - (origin_ + DurationNs(count_)) > kMaxLagNs) {
        origin_ = now - kMaxLagNs;
        count_ = 0;
    }
    const int64_t due = DueCount(now) - count_;
    const int64_t chunk = static_cast<int64_t>(std::min(wanted, kChunkBytes));
    if (due < chunk) return 0;
    return static_cast<std::size_t>(std::min<int64_t>(due, static_cast<int64_t>(wanted)));
}

void LinePacer::Sent(std::size_t count) {
    count_ += static_cast<int64_t>(count);
    if (count_ >= kRebaseCount) {
        origin_ += DurationNs(count_);
        count_ = 0;
    }
}

int64_t LinePacer::WakeTime(int64_t now, std::size_t wanted) const {
    if (!paced_ || wanted == 0) return now;
    const int64_t chunk = static_cast<int64_t>(std::min(wanted, kChunkBytes));
    // The first instant at which DueCount() reaches count_ + chunk.
    const int64_t target = count_ + chunk;
    const int64_t at = origin_ + (target * kBitsPerByte * 1'000'000'000 + kBaud - 1) / kBaud;
    return std::max(at, now);
}

}  // namespace velmora
