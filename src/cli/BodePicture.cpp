#include "cli/BodePicture.h"

#include "display/BodePlot.h"
#include "raster/BitmapText.h"
#include "raster/PngFile.h"

namespace velmora {
namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 800;
constexpr int kTextScale = 2;  // each font pixel two screen pixels square

}  // namespace

std::string BodePlotPng(const std::vector<ResponsePoint>& points) {
    std::vector<BodePlotPoint> plot;
    plot.reserve(points.size());
    for (const ResponsePoint& p : points) plot.push_back({p.frequency, p.gainDb, p.phaseDegrees});
    PixelCanvas canvas(kWidth, kHeight);
    UseBitmapFont(canvas, kTextScale);
    DrawBodePlot(canvas, kWidth, kHeight, plot);
    return EncodePng(canvas);
}

}  // namespace velmora
