#include "system/posix/PollDeadline.h"

#include <poll.h>
#include <time.h>

#include <cerrno>

namespace velmora {
namespace {

constexpr int64_t kNanosPerSecond = 1'000'000'000;
constexpr int64_t kNanosPerMilli = 1'000'000;

timespec ToTimespec(int64_t nanos) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(nanos / kNanosPerSecond);
    ts.tv_nsec = static_cast<long>(nanos % kNanosPerSecond);
    return ts;
}

}  // namespace

int64_t MonotonicNanos() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * kNanosPerSecond + ts.tv_nsec;
}

int64_t DeadlineAfterMillis(int64_t startNanos, uint64_t ms) {
    const uint64_t room = static_cast<uint64_t>(kNoDeadline - startNanos) / kNanosPerMilli;
    if (ms >= room) {
        return kNoDeadline;
    }
    return startNanos + static_cast<int64_t>(ms) * kNanosPerMilli;
}

PollOutcome PollUntil(int fd, short events, int64_t deadlineNanos) {
    for (;;) {
        timespec wait{};
        timespec* timeout = nullptr;  // no deadline: wait for the event alone
        if (deadlineNanos != kNoDeadline) {
            const int64_t left = deadlineNanos - MonotonicNanos();
            if (left <= 0) {
                return PollOutcome::TimedOut;
            }
            wait = ToTimespec(left);
            timeout = &wait;
        }
        pollfd entry{fd, events, 0};
        const int rc = ppoll(&entry, 1, timeout, nullptr);
        if (rc < 0) {
            if (errno == EINTR) {
                continue;
            }
            return PollOutcome::HungUp;
        }
        if (rc == 0) {
            return PollOutcome::TimedOut;
        }
        if ((entry.revents & events) != 0) {
            return PollOutcome::Ready;
        }
        return PollOutcome::HungUp;
    }
}

}  // namespace velmora
