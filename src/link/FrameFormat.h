#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora {

// One answer of the instrument to a data request: a 128-byte header that
// begins with the marker "vQvQ" and the XY point count, then 2048 sample pairs
// (channel 1, channel 2), each a signed 16-bit little-endian value.
inline constexpr std::size_t kHeaderBytes = 128;
inline constexpr std::size_t kSamplePairs = 2048;
inline constexpr std::size_t kPairBytes = 4;
inline constexpr std::size_t kSampleBytes = kSamplePairs * kPairBytes;   // 8192
inline constexpr std::size_t kFrameBytes = kHeaderBytes + kSampleBytes;  // 8320
inline constexpr std::size_t kBlockBytes = 128;
inline constexpr int kSampleBlocks = static_cast<int>(kSampleBytes / kBlockBytes);  // 64
inline constexpr std::array<uint8_t, 4> kFrameMarker = {0x76, 0x51, 0x76, 0x51};

// A sample's full scale: -2047..+2047 counts fill the plot's height, which
// spans the channel's range twice (its "+-" value either way), so one count
// is the range's span over 4094.
inline constexpr int32_t kFullScaleCounts = 2047;
inline constexpr int32_t kFullScaleSpanCounts = 2 * kFullScaleCounts;

// The raw bytes of the last frame, stored exactly as they came off the line.
struct SampleFrame {
    std::array<uint8_t, kHeaderBytes> header{};   // RxBuffer
    std::array<uint8_t, kSampleBytes> samples{};  // Samples

    // Sample of `channel` (0 or 1) in pair `pair` (0..2047).
    int16_t Sample(std::size_t pair, int channel) const {
        const std::size_t at = pair * kPairBytes + static_cast<std::size_t>(channel) * 2;
        return static_cast<int16_t>(static_cast<uint16_t>(samples[at] | (samples[at + 1] << 8)));
    }
    // The XY point count of the header (bytes 4..7, little-endian).
    uint32_t PointCount() const {
        return static_cast<uint32_t>(header[4]) | static_cast<uint32_t>(header[5]) << 8 |
               static_cast<uint32_t>(header[6]) << 16 | static_cast<uint32_t>(header[7]) << 24;
    }
};

}  // namespace velmora
