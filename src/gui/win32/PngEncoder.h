#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Encodes a picture (rows of 0x00RRGGBB, top row first) as PNG with the
// system's own image codecs (WIC), so the program ships no image library.
// False with the reason in `error`.
bool EncodePng(const std::vector<uint32_t>& pixels, int width, int height, std::string& png,
               std::string& error);

}  // namespace velmora
