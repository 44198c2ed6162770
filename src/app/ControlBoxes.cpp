#include "app/ControlBoxes.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

#include "app/ControlLayout.h"
#include "controls/DpiScale.h"

namespace velmora {
namespace {

// 64 bits inside: a measured width or a DPI from the system may be anything.
int64_t Right(const ControlBox& box) { return int64_t{box.left} + box.width; }

int Narrow(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

// Whether `middle`'s vertical middle lies within `row`'s height (doubled
// pixels, so that the middle of an odd height is exact).
bool MiddleWithin(const ControlBox& middle, const ControlBox& row) {
    const int64_t twice = 2 * int64_t{middle.top} + middle.height;
    return twice >= 2 * int64_t{row.top} && twice < 2 * (int64_t{row.top} + row.height);
}

bool SameRow(const ControlBox& a, const ControlBox& b) {
    return MiddleWithin(a, b) || MiddleWithin(b, a);
}

ControlBox Scaled(const ControlPlacement& p, int boxDpi) {
    return ControlBox{
        MulDivRound(p.left, boxDpi, kDesignDpi), MulDivRound(p.top, boxDpi, kDesignDpi),
        MulDivRound(p.width, boxDpi, kDesignDpi), MulDivRound(p.height, boxDpi, kDesignDpi)};
}

ControlBox Grown(ControlBox box, int needed, Align align) {
    const int64_t extra = int64_t{needed} - box.width;
    if (extra <= 0) return box;
    box.width = needed;
    if (align == Align::Centre) box.left = Narrow(box.left - extra / 2);
    return box;
}

}  // namespace

std::vector<ControlBox> FitControlBoxes(int dpi, int boxDpi, std::span<const int> needed) {
    std::vector<ControlBox> scaled;
    for (std::size_t i = 0; i < kControlCount; ++i)
        scaled.push_back(Scaled(kControlLayout[i], boxDpi));
    if (dpi == kDesignDpi) return scaled;

    std::vector<ControlBox> fitted = scaled;
    for (std::size_t i = 0; i < kControlCount && i < needed.size(); ++i) {
        fitted[i] = Grown(scaled[i], needed[i], kControlLayout[i].align);
    }
    // From left to right, so that a control has its final place before the
    // ones to its right are moved clear of it.
    std::vector<std::size_t> order(kControlCount);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return scaled[a].left < scaled[b].left; });
    for (std::size_t k = 0; k < order.size(); ++k) {
        ControlBox& box = fitted[order[k]];
        int64_t shift = 0;
        for (std::size_t m = 0; m < k; ++m) {
            const std::size_t left = order[m];
            if (!SameRow(scaled[left], scaled[order[k]])) continue;
            const int64_t designOverlap =
                std::max<int64_t>(0, Right(scaled[left]) - scaled[order[k]].left);
            shift = std::max(shift, Right(fitted[left]) - designOverlap - box.left);
        }
        box.left = Narrow(box.left + shift);
    }
    return fitted;
}

}  // namespace velmora
