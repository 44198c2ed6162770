#pragma once

#include <cstdint>

namespace velmora {

// Waiting on a descriptor against absolute CLOCK_MONOTONIC deadlines, so that a
// wait interrupted by a signal (EINTR) resumes with the time that is left
// instead of starting over. Nanosecond resolution: the serial read rule works
// in single milliseconds, which poll()'s millisecond time-out would round away.

inline constexpr int64_t kNoDeadline = INT64_MAX;

// Now on CLOCK_MONOTONIC, in nanoseconds.
int64_t MonotonicNanos();

// start + ms, saturating at kNoDeadline instead of overflowing.
int64_t DeadlineAfterMillis(int64_t startNanos, uint64_t ms);

enum class PollOutcome {
    Ready,     // one of the requested events is signalled
    TimedOut,  // the deadline passed first (also when it had already passed)
    HungUp,    // hang-up, error or invalid descriptor without a requested event
};

// Waits until `fd` signals one of `events` (POLLIN, POLLOUT) or the deadline
// passes. Retries EINTR; never waits past the deadline.
PollOutcome PollUntil(int fd, short events, int64_t deadlineNanos);

}  // namespace velmora
