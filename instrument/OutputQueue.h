#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "instrument/ReplyComposer.h"

namespace velmora {

// Replies waiting to go out, in order, each with the time (monotonic ns) from
// which it may be sent. Holds at most kMaxReplies; storage is fixed, nothing
// is allocated after construction. Not thread-safe.
class OutputQueue {
  public:
    static constexpr std::size_t kMaxReplies = 2;

    // Copies a reply of `size` bytes (at most kMaxReplyBytes). False when full.
    // An empty reply is accepted and dropped at once.
    bool Push(const uint8_t* data, std::size_t size, int64_t due);

    // The unsent rest of the oldest reply if it is due at `now`, else size 0.
    std::size_t Ready(int64_t now, const uint8_t*& data) const;

    // `count` bytes of the oldest reply went out. True when it is complete.
    bool Consume(std::size_t count);

    bool Empty() const { return count_ == 0; }
    bool Full() const { return count_ == kMaxReplies; }
    // Due time of the oldest reply; meaningful only when not Empty().
    int64_t HeadDue() const { return replies_[head_].due; }

  private:
    struct Reply {
        std::array<uint8_t, ReplyComposer::kMaxReplyBytes> bytes{};
        std::size_t size = 0;
        std::size_t sent = 0;
        int64_t due = 0;
    };

    std::array<Reply, kMaxReplies> replies_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

}  // namespace velmora
