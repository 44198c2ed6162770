#include "instrument/ReplyComposer.h"

#include <algorithm>
#include <cstring>

namespace velmora {

ReplyComposer::ReplyComposer(const InstrumentOptions& options)
    : stray_(static_cast<std::size_t>(std::clamp(options.stray, 0, InstrumentOptions::kMaxStray))),
      damageMarker_(options.damageMarker),
      frameBytes_(options.shortFrame < 0
                      ? kFrameBytes
                      : std::min(static_cast<std::size_t>(options.shortFrame), kFrameBytes)) {}

std::size_t ReplyComposer::Compose(const FrameBuilder::Frame& frame, uint8_t* out) {
    Fill(out, stray_);
    uint8_t* body = out + stray_;
    std::memcpy(body, frame.data(), frameBytes_);
    // 'v' 'Q' 'w' 'Q': one bit off, and no shifted copy of the marker either.
    if (damageMarker_ && frameBytes_ > 2) body[2] = static_cast<uint8_t>(body[2] ^ 0x01u);
    return stray_ + frameBytes_;
}

void ReplyComposer::Fill(uint8_t* out, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        // A walk through all byte values that steps over the marker's two.
        uint8_t byte = static_cast<uint8_t>(counter_++ * 37u + 11u);
        if (byte == kFrameMarker[0] || byte == kFrameMarker[1]) byte = static_cast<uint8_t>('.');
        out[i] = byte;
    }
}

}  // namespace velmora
