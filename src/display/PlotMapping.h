#pragma once

#include <cstdint>

#include "display/DisplayInputs.h"

namespace velmora {

// Screen arithmetic of the picture. The instrument's drawing code works in
// signed 32-bit integers with divisions truncating toward zero; here every
// product is formed in 64 bits and the result is narrowed by saturating to the
// 32-bit range, so no input overflows and every result that fits is the one the
// 32-bit arithmetic gives.
class PlotMapping {
  public:
    explicit PlotMapping(const PlotGeometry& geometry) : g_(geometry) {}

    // y of a sample value: yTop draws at 0, yBottom at plotHeight.
    int32_t Y(int64_t value) const;
    // x of sample index i of the time display (0..2047), with the product
    // plotWidth * i taken unsigned and shifted right by 11: index 2048 is the
    // right edge of the plot.
    int32_t SampleX(int64_t index) const;
    // x of a channel 1 value in XY mode: xLeft draws at plotLeft, xRight at
    // the right edge.
    int32_t XyX(int64_t value) const;
    // y = (plotHeight * numerator) / denominator, truncated toward zero.
    int32_t HeightPart(int64_t numerator, int64_t denominator) const;
    // x = plotLeft + (plotWidth * numerator) / denominator.
    int32_t WidthPart(int64_t numerator, int64_t denominator) const;
    int32_t Right() const;  // plotLeft + plotWidth

    static int32_t Narrow(int64_t value);

  private:
    const PlotGeometry& g_;
};

}  // namespace velmora
