#pragma once

#include "display/DisplayInputs.h"
#include "spectrum/Spectrum.h"
#include "controls/Canvas.h"
#include "link/FrameFormat.h"

namespace velmora {

inline constexpr Rgb kGridColor{128, 128, 128};
inline constexpr Rgb kMarkerColor{0, 255, 0};
inline constexpr Rgb kXyColor{0, 128, 0};
inline constexpr Rgb kTrace1Color{0, 0, 255};
inline constexpr Rgb kTrace2Color{255, 0, 0};

// The oscilloscope picture. DrawFrame repaints the whole client area from one
// frame and the window's controls: it clears, draws the 10 x 10 graticule with
// the voltage labels of both channels and the time and frequency labels, the
// trigger position and level markers, and then either the XY figure or, per
// channel, the time trace and the spectrum. It only sets the pen colour and
// leaves the pen in the colour last used (the next clear is outlined with it).
// A plot of zero or negative width or height is only cleared. Runs on the UI
// thread; allocates nothing.
class TraceDisplay {
  public:
    void DrawFrame(Canvas& canvas, const SampleFrame& frame, const DisplayInputs& in);

    // The geometry of the last redraw, read by the spectrum drawing and clicks.
    const PlotGeometry& Geometry() const { return geometry_; }

  private:
    void SetGeometry(const DisplayInputs& in);
    void DrawGraticule(Canvas& canvas, const DisplayInputs& in);
    void DrawMarkers(Canvas& canvas, const DisplayInputs& in);
    void DrawXy(Canvas& canvas, const SampleFrame& frame);
    void DrawTrace(Canvas& canvas, const SampleFrame& frame, int channel);

    PlotGeometry geometry_;
    SpectrumBuffer spectrum_{};
};

}  // namespace velmora
