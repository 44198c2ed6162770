#include "raster/LineRaster.h"

#include <algorithm>
#include <limits>

namespace velmora {
namespace {

// Differences of two ints need 33 bits (so do starts taken from a window's
// corner), so all of this is 64-bit: a major length below 2^32 keeps every product below 2^64
// (unsigned) and every sum of error terms below 2^35.

// One coordinate of the walk: start, direction (-1, 0, +1), the picture's
// extent on that axis and the distance between neighbouring pixels in memory.
struct Axis {
    int64_t start;
    int sign;
    int64_t size;
    std::ptrdiff_t pitch;

    // The steps n in [0, count) at which start + sign * n lies in [0, size),
    // as [first, last); empty when first >= last.
    void Inside(int64_t count, int64_t& first, int64_t& last) const {
        if (sign == 0) {
            first = 0;
            last = (start >= 0 && start < size) ? count : 0;
            return;
        }
        const int64_t lo = sign > 0 ? -start : start - size + 1;
        const int64_t hi = sign > 0 ? size - start : start + 1;
        first = std::max<int64_t>(0, lo);
        last = std::min(count, hi);
    }
};

// Step i of the walk lies i pixels along the major axis and `offset` pixels
// along the minor one, where 2 * i * minor + major = 2 * major * offset + error
// and 0 <= error < 2 * major: the offset is i * minor / major rounded, halves up.
struct Step {
    int64_t offset;
    int64_t error;
};

struct Walk {
    int64_t major;  // > 0
    int64_t minor;  // 0 .. major

    Step At(int64_t i) const {
        const uint64_t product = static_cast<uint64_t>(i) * static_cast<uint64_t>(minor);
        Step step{static_cast<int64_t>(product / static_cast<uint64_t>(major)),
                  2 * static_cast<int64_t>(product % static_cast<uint64_t>(major)) + major};
        if (step.error >= 2 * major) {
            step.error -= 2 * major;
            ++step.offset;
        }
        return step;
    }

    // Steps from `from` until the offset has grown by `rise` (1 .. 2^31 - 1);
    // a line parallel to an axis never rises, so the whole line's length.
    int64_t StepsToRise(const Step& from, int64_t rise) const {
        if (minor == 0) return major;
        const uint64_t need = static_cast<uint64_t>(rise) * static_cast<uint64_t>(2 * major) -
                              static_cast<uint64_t>(from.error);
        const auto up = static_cast<uint64_t>(2 * minor);
        return static_cast<int64_t>(need / up + (need % up != 0 ? 1 : 0));
    }
};

int Sign(int64_t v) { return (v > 0) - (v < 0); }

int64_t Abs(int64_t v) { return v < 0 ? -v : v; }

}  // namespace

LineRaster::LineRaster(uint32_t* pixels, int width, int height, std::ptrdiff_t stride, int left,
                       int top)
    : pixels_(pixels), width_(width), height_(height), stride_(stride), left_(left), top_(top) {}

void LineRaster::Draw(int x0, int y0, int x1, int y1, uint32_t colour) const {
    if (pixels_ == nullptr) return;
    const int64_t dx = int64_t{x1} - x0;
    const int64_t dy = int64_t{y1} - y0;
    const Axis x{int64_t{x0} - left_, Sign(dx), width_, 1};
    const Axis y{int64_t{y0} - top_, Sign(dy), height_, stride_};
    const bool steep = Abs(dy) > Abs(dx);
    const Axis& major = steep ? y : x;
    const Axis& minor = steep ? x : y;
    const Walk walk{std::max(Abs(dx), Abs(dy)), std::min(Abs(dx), Abs(dy))};
    if (walk.major == 0) return;

    // Steps inside the picture along the major axis, at most `size` of them...
    int64_t first = 0;
    int64_t last = 0;
    major.Inside(walk.major, first, last);
    if (first >= last) return;
    // ...then those whose offsets fall inside it along the minor axis. The
    // offset grows by at most one a step, which bounds the rises below.
    int64_t low = 0;
    int64_t high = 0;
    minor.Inside(std::numeric_limits<int64_t>::max(), low, high);
    Step step = walk.At(first);
    if (step.offset < low) {
        if (low - step.offset >= last - first) return;
        first += walk.StepsToRise(step, low - step.offset);
        if (first >= last) return;
        step = walk.At(first);
    }
    if (step.offset >= high) return;
    if (high - step.offset < last - first) {
        last = std::min(last, first + walk.StepsToRise(step, high - step.offset));
    }

    std::ptrdiff_t at = (major.start + major.sign * first) * major.pitch +
                        (minor.start + minor.sign * step.offset) * minor.pitch;
    const std::ptrdiff_t along = major.sign * major.pitch;
    const std::ptrdiff_t across = minor.sign * minor.pitch;
    const int64_t up = 2 * walk.minor;
    const int64_t wrap = 2 * walk.major;
    int64_t error = step.error;
    for (int64_t n = last - first; n > 0; --n) {
        pixels_[at] = colour;
        at += along;
        error += up;
        if (error >= wrap) {
            error -= wrap;
            at += across;
        }
    }
}

}  // namespace velmora
