#include "instrument/OutputQueue.h"

#include <algorithm>
#include <cstring>

namespace velmora {

bool OutputQueue::Push(const uint8_t* data, std::size_t size, int64_t due) {
    if (size == 0) return true;  // nothing to send, nothing to wait for
    if (count_ == kMaxReplies) return false;
    Reply& reply = replies_[(head_ + count_) % kMaxReplies];
    reply.size = std::min(size, reply.bytes.size());
    std::memcpy(reply.bytes.data(), data, reply.size);
    reply.sent = 0;
    reply.due = due;
    ++count_;
    return true;
}

std::size_t OutputQueue::Ready(int64_t now, const uint8_t*& data) const {
    if (count_ == 0 || now < replies_[head_].due) return 0;
    const Reply& reply = replies_[head_];
    data = reply.bytes.data() + reply.sent;
    return reply.size - reply.sent;
}

bool OutputQueue::Consume(std::size_t count) {
    if (count_ == 0) return false;
    Reply& reply = replies_[head_];
    reply.sent = std::min(reply.sent + count, reply.size);
    if (reply.sent < reply.size) return false;
    head_ = (head_ + 1) % kMaxReplies;
    --count_;
    return true;
}

}  // namespace velmora
