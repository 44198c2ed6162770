#pragma once

#include <array>
#include <cstdint>

namespace velmora {

// The full-screen voltage span in volts (twice the "±" value of a scale item),
// by probe item (0 "x10", 1 "x1") and scale item (0..7).
inline constexpr int32_t kSpanTable[2][8] = {
    {480, 400, 320, 240, 160, 80, 40, 20},
    {48, 40, 32, 24, 16, 8, 4, 2},
};

// The span for the selections of a probe list and a scale list. A list without
// a selection (index -1) or with an index past its end reads as its last item,
// so the table is never read out of bounds.
int32_t SpanFor(int probeItem, int scaleItem);

// The 8-character label of grid row `row` (1..9, top to bottom) for a span of
// `span` volts: the voltage of that row relative to the centre line, one
// decimal, e.g. "  19.2 V", "-  4.8 V", " 192.0 V". Zero-terminated. A row
// outside 1..9 is read as the nearest of them.
class VoltLabel {
  public:
    VoltLabel(int32_t span, int row);
    const char* Text() const { return text_.data(); }

  private:
    std::array<char, 9> text_{};
};

}  // namespace velmora
