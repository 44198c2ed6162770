#pragma once

#include <cstddef>
#include <cstdint>

#include "instrument/FrameBuilder.h"
#include "instrument/InstrumentOptions.h"

namespace velmora {

// Turns a frame into the bytes actually sent, with the faults the options ask
// for: stray leading bytes, a damaged marker, a frame cut short. Filler bytes
// (stray and flood) never hold the marker's bytes 'v' and 'Q', so no marker
// can appear in them or across their border with the frame.
class ReplyComposer {
  public:
    static constexpr std::size_t kMaxReplyBytes = InstrumentOptions::kMaxStray + kFrameBytes;

    explicit ReplyComposer(const InstrumentOptions& options);

    // Writes the reply into `out` (room for kMaxReplyBytes) and returns its length.
    std::size_t Compose(const FrameBuilder::Frame& frame, uint8_t* out);

    // Fills `out` with `size` filler bytes; the pattern goes on across calls.
    void Fill(uint8_t* out, std::size_t size);

  private:
    std::size_t stray_;
    bool damageMarker_;
    std::size_t frameBytes_;
    uint32_t counter_ = 0;
};

}  // namespace velmora
