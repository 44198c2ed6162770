#include "display/PlotMapping.h"

#include <limits>

namespace velmora {

int32_t PlotMapping::Narrow(int64_t value) {
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

int32_t PlotMapping::Y(int64_t value) const {
    const int64_t range = int64_t{g_.yBottom} - g_.yTop;  // -4094
    if (range == 0) return 0;
    return Narrow((value - g_.yTop) * g_.plotHeight / range);
}

int32_t PlotMapping::SampleX(int64_t index) const {
    // Taken as unsigned like the 32-bit product it stands for; for a plot of
    // positive width and an index of 0..2048 this is the plain product.
    const auto product = static_cast<uint64_t>(int64_t{g_.plotWidth} * index);
    return Narrow(g_.plotLeft + static_cast<int64_t>(product >> 11));
}

int32_t PlotMapping::XyX(int64_t value) const {
    const int64_t range = int64_t{g_.xRight} - g_.xLeft;  // 4094
    if (range == 0) return g_.plotLeft;
    return Narrow((value - g_.xLeft) * g_.plotWidth / range + g_.plotLeft);
}

int32_t PlotMapping::HeightPart(int64_t numerator, int64_t denominator) const {
    return Narrow(g_.plotHeight * numerator / denominator);
}

int32_t PlotMapping::WidthPart(int64_t numerator, int64_t denominator) const {
    return Narrow(g_.plotLeft + g_.plotWidth * numerator / denominator);
}

int32_t PlotMapping::Right() const { return Narrow(int64_t{g_.plotLeft} + g_.plotWidth); }

}  // namespace velmora
