#include "app/WindowGeometry.h"

#include <algorithm>
#include <cstdint>

#include "controls/DpiScale.h"

namespace velmora {
namespace {

// Further out than any screen reaches.
constexpr int64_t kFarAway = 1 << 24;

int Clamp(int64_t v, int64_t lo, int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

int Within(int64_t v) { return Clamp(v, -kFarAway, kFarAway); }

}  // namespace

int FitSide(int wanted, int screen, int design) {
    return Clamp(wanted, 1, std::max<int64_t>(screen, design));
}

OuterRect DeviceOuterRect(const Window& model, int dpi, int screenWidth, int screenHeight,
                          int designWidth, int designHeight) {
    return OuterRect{Within(ToDevicePixels(model.Left(), dpi)),
                     Within(ToDevicePixels(model.Top(), dpi)),
                     FitSide(ToDevicePixels(model.Width(), dpi), screenWidth, designWidth),
                     FitSide(ToDevicePixels(model.Height(), dpi), screenHeight, designHeight)};
}

OuterRect DesignOuterRect(const OuterRect& device, int dpi) {
    return OuterRect{ToDesignPixels(device.left, dpi), ToDesignPixels(device.top, dpi),
                     ToDesignPixels(device.width, dpi), ToDesignPixels(device.height, dpi)};
}

OuterRect IntoWorkArea(const OuterRect& r, const OuterRect& work) {
    const int64_t right = int64_t{work.left} + work.width - r.width;
    const int64_t bottom = int64_t{work.top} + work.height - r.height;
    return OuterRect{
        Clamp(std::max<int64_t>(work.left, std::min<int64_t>(r.left, right)), INT32_MIN, INT32_MAX),
        Clamp(std::max<int64_t>(work.top, std::min<int64_t>(r.top, bottom)), INT32_MIN, INT32_MAX),
        r.width, r.height};
}

FrameMargins MarginsBetween(const OuterRect& outer, const OuterRect& client) {
    const auto side = [](int64_t v) { return Clamp(v, INT32_MIN, INT32_MAX); };
    return FrameMargins{side(int64_t{client.left} - outer.left),
                        side(int64_t{client.top} - outer.top),
                        side(int64_t{outer.left} + outer.width - client.left - client.width),
                        side(int64_t{outer.top} + outer.height - client.top - client.height)};
}

}  // namespace velmora
