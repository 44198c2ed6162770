#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

// The schedule of a 115200-baud 8N1 line (10 bits, about 86.8 us a byte).
// Bytes are released in chunks once the last byte of the chunk is due, so the
// sender sleeps per chunk, never per byte. A chunk of 8 bytes takes 0.69 ms, so
// the gaps between chunks stay below the 1 ms between-bytes time-out of the
// application's reads, as on a real line. When the sender falls behind (a full
// buffer, a late wake-up) at most kMaxLagNs of backlog is kept, so a stall
// never turns into a long burst. An unpaced pacer releases everything at once.
// Times are monotonic nanoseconds supplied by the caller.
class LinePacer {
  public:
    static constexpr int64_t kBaud = 115200;
    static constexpr int64_t kBitsPerByte = 10;
    static constexpr std::size_t kChunkBytes = 8;
    static constexpr int64_t kMaxLagNs = 2'000'000;

    explicit LinePacer(bool paced) : paced_(paced) {}

    // The line had nothing to send until `now`: the next byte starts now.
    void Restart(int64_t now);

    // How many of `wanted` bytes may be handed to the line at `now`.
    std::size_t Allowance(int64_t now, std::size_t wanted);

    // `count` bytes were handed to the line.
    void Sent(std::size_t count);

    // When Allowance() will next release something, for `wanted` bytes waiting.
    int64_t WakeTime(int64_t now, std::size_t wanted) const;

    // Time the line needs for `count` bytes.
    static int64_t DurationNs(int64_t count) {
        return count * kBitsPerByte * 1'000'000'000 / kBaud;
    }

  private:
    int64_t DueCount(int64_t now) const;

    bool paced_;
    int64_t origin_ = 0;  // time at which byte 0 of the schedule is done
    int64_t count_ = 0;   // bytes sent since origin_
};

}  // namespace velmora
