#include "instrument/FrameBuilder.h"

#include <algorithm>

namespace velmora {
namespace {

void PutLittle16(uint8_t* at, int16_t value) {
    const auto bits = static_cast<uint16_t>(value);
    at[0] = static_cast<uint8_t>(bits & 0xFFu);
    at[1] = static_cast<uint8_t>(bits >> 8);
}

void PutLittle32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

void FrameBuilder::Build(const SignalSynth::Samples& samples, uint32_t pointCount, Frame& out) {
    std::copy(kFrameMarker.begin(), kFrameMarker.end(), out.begin());
    PutLittle32(&out[4], pointCount);
    std::fill(out.begin() + 8, out.begin() + kHeaderBytes, uint8_t{0});
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        uint8_t* pair = &out[kHeaderBytes + i * kPairBytes];
        PutLittle16(pair, samples.channel[0][i]);
        PutLittle16(pair + 2, samples.channel[1][i]);
    }
}

}  // namespace velmora
