#pragma once

#include <array>
#include <cstdint>

#include "instrument/SignalSynth.h"
#include "link/FrameFormat.h"

namespace velmora {

// Lays out the instrument's answer to a data request: the marker "vQvQ", the
// XY point count (uint32 little-endian), 120 zero bytes of header filler, then
// 2048 pairs of int16 little-endian samples, channel 1 before channel 2.
// Writes into a caller-owned buffer and allocates nothing.
class FrameBuilder {
  public:
    using Frame = std::array<uint8_t, kFrameBytes>;

    static void Build(const SignalSynth::Samples& samples, uint32_t pointCount, Frame& out);
};

}  // namespace velmora
