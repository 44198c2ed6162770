#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora {

// One drawing operation on the picture, as the canvas was asked for it: a
// line (x0, y0) to (x1, y1), a rectangle (x0, y0) to (x1, y1) as the canvas
// writes it (see BoxRaster), or a text with its top left
// corner at (x0, y0). The colour is the pen's (line, outline) or the text's.
struct DrawOp {
    enum class Kind : uint8_t { Line, Box, Text };
    Kind kind = Kind::Line;
    uint32_t colour = 0;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    uint32_t text = 0, length = 0;  // a text's characters in its list's storage
};

// The operations drawn since the picture was last cleared whole, in order.
// A picture is a function of the operations since such a clear, so two of
// these lists that differ in a few operations give pictures that differ only
// where those operations reach. Storage is fixed at construction.
class FrameOps {
  public:
    FrameOps();

    // False, adding nothing, when the list is full.
    bool Add(const DrawOp& op, std::string_view text = {});
    void Clear();
    // Keeps the operations from `first` on.
    void DropBefore(std::size_t first);

    std::size_t Size() const { return ops_.size(); }
    const DrawOp& operator[](std::size_t i) const { return ops_[i]; }
    std::string_view Text(const DrawOp& op) const { return {texts_.data() + op.text, op.length}; }
    // The operation `i` of both lists draws the same.
    bool SameAt(const FrameOps& other, std::size_t i) const;

    // The list describes the picture as it stands: it begins with a clear of
    // the whole picture and nothing else has written to it since.
    bool describesPicture = false;

  private:
    // Two traces, two spectra, the graticule and its labels of one frame
    // with room to spare.
    static constexpr std::size_t kMostOps = 32768;
    static constexpr std::size_t kMostTextBytes = 65536;

    std::vector<DrawOp> ops_;
    std::vector<char> texts_;
};

}  // namespace velmora
