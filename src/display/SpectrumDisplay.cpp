#include "display/SpectrumDisplay.h"

#include <cmath>

#include "display/PlotMapping.h"

namespace velmora {

namespace {

// Truncation toward zero into 32 bits; magnitudes of real frames stay far
// inside the range, and a value that is not a number draws as 0.
int64_t Truncate(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483648LL;
    return static_cast<int64_t>(value);
}

int32_t BinY(const SpectrumBuffer& buffer, std::size_t bin, const PlotGeometry& geometry) {
    const float re = buffer[2 * bin];
    const float im = buffer[2 * bin + 1];
    // The squares are exact in double; the sum is rounded once to single.
    const auto q = static_cast<float>(static_cast<double>(re) * re + static_cast<double>(im) * im);
    const float mag = std::sqrt(q);
    const int64_t m = Truncate(static_cast<double>(mag) * 1.1);
    const int64_t range = int64_t{geometry.yTop} - geometry.yBottom;  // 4094
    const int64_t height = geometry.plotHeight;
    const int64_t scaled = range == 0 ? 0 : height * m / range;
    return PlotMapping::Narrow(height / 2 - scaled);
}

}  // namespace

void DrawSpectrum(Canvas& canvas, const SpectrumBuffer& buffer, const PlotGeometry& geometry,
                  int channel) {
    const PlotMapping map(geometry);
    canvas.SetPenColor(channel == 0 ? kSpectrum1Color : kSpectrum2Color);
    canvas.MoveTo(geometry.plotLeft, BinY(buffer, 0, geometry));
    for (std::size_t k = 0; k < buffer.size() / 2; ++k) {
        // Bin k sits where sample 2k of the time trace does.
        canvas.LineTo(map.SampleX(static_cast<int64_t>(2 * k)), BinY(buffer, k, geometry));
    }
}

}  // namespace velmora
