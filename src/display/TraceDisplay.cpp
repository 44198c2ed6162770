#include "display/TraceDisplay.h"

#include <algorithm>
#include <cstdio>

#include "display/PlotMapping.h"
#include "display/SpectrumDisplay.h"
#include "display/VoltLabel.h"
#include "controls/DpiScale.h"

namespace velmora {

namespace {

constexpr int kGridLines = 9;  // inner lines each way; the border gets none

// Where the labels stand beside the grid lines, in design pixels: the volt
// labels 4 below their row, channel 1's 20 from the left edge and channel
// 2's 60 left of the plot's width; the time labels 20 left of their column
// and 10 from the top, the frequency labels 16 above the plot's bottom.
struct LabelOffsets {
    int voltDown, ch1Left, ch2FromRight, column, timeTop, frequencyUp;
};

LabelOffsets LabelOffsetsFor(int dpi) {
    return {ToDevicePixels(4, dpi),  ToDevicePixels(20, dpi), ToDevicePixels(60, dpi),
            ToDevicePixels(20, dpi), ToDevicePixels(10, dpi), ToDevicePixels(16, dpi)};
}

void Line(Canvas& canvas, int x1, int y1, int x2, int y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

}  // namespace

void TraceDisplay::DrawFrame(Canvas& canvas, const SampleFrame& frame, const DisplayInputs& in) {
    SetGeometry(in);
    // The clear is outlined in whatever colour the last redraw left the pen.
    canvas.Rectangle(0, 0, in.clientWidth, in.clientHeight);
    if (geometry_.plotWidth <= 0 || geometry_.plotHeight <= 0) {
        return;  // the window is smaller than its scroll bars: nothing to plot
    }
    DrawGraticule(canvas, in);
    DrawMarkers(canvas, in);
    if (geometry_.xyMode) {
        DrawXy(canvas, frame);
        return;
    }
    const bool scope[2] = {in.scope1, in.scope2};
    const bool fft[2] = {in.fft1, in.fft2};
    for (int channel = 0; channel < 2; ++channel) {
        if (scope[channel]) DrawTrace(canvas, frame, channel);
        if (fft[channel]) {
            ComputeSpectrum(frame, channel, spectrum_);
            DrawSpectrum(canvas, spectrum_, geometry_, channel);
        }
    }
}

void TraceDisplay::SetGeometry(const DisplayInputs& in) {
    geometry_.plotLeft = in.syncVoltBarWidth;
    geometry_.plotWidth = PlotMapping::Narrow(int64_t{in.clientWidth} - in.syncVoltBarWidth);
    geometry_.plotHeight = PlotMapping::Narrow(int64_t{in.clientHeight} - 1 - in.syncPosBarHeight);
    geometry_.xyMode = in.sweepIndex == 0;
    geometry_.xLeft = -kFullScaleCounts;
    geometry_.xRight = kFullScaleCounts;
    geometry_.yTop = kFullScaleCounts;
    geometry_.yBottom = -kFullScaleCounts;
}

void TraceDisplay::DrawGraticule(Canvas& canvas, const DisplayInputs& in) {
    const PlotMapping map(geometry_);
    canvas.SetPenColor(kGridColor);
    const int32_t span1 = SpanFor(in.chan1Probe, in.scale1);
    const int32_t span2 = SpanFor(in.chan2Probe, in.scale2);
    const bool timeLabels = in.scope1 || in.scope2;
    const bool frequencyLabels = in.fft1 || in.fft2;
    const LabelOffsets offset = LabelOffsetsFor(in.dpi);
    char labelText[16];
    for (int e = 1; e <= kGridLines; ++e) {
        const int32_t ye = map.HeightPart(e, 10);
        Line(canvas, geometry_.plotLeft, ye, map.Right(), ye);
        const int32_t labelY = PlotMapping::Narrow(int64_t{ye} + offset.voltDown);
        canvas.TextOut(offset.ch1Left, labelY, VoltLabel(span1, e).Text());
        canvas.TextOut(PlotMapping::Narrow(int64_t{geometry_.plotWidth} - offset.ch2FromRight),
                       labelY, VoltLabel(span2, e).Text());
        const int32_t xe = map.WidthPart(e, 10);
        Line(canvas, xe, 0, xe, geometry_.plotHeight);
        const int32_t labelX = PlotMapping::Narrow(int64_t{xe} - offset.column);
        if (timeLabels) {
            std::snprintf(labelText, sizeof labelText, "%d mSec", 2 * e);
            canvas.TextOut(labelX, offset.timeTop, labelText);
        }
        if (frequencyLabels) {
            std::snprintf(labelText, sizeof labelText, "%d KHz", 5 * e);
            canvas.TextOut(labelX,
                           PlotMapping::Narrow(int64_t{geometry_.plotHeight} - offset.frequencyUp),
                           labelText);
        }
    }
}

void TraceDisplay::DrawMarkers(Canvas& canvas, const DisplayInputs& in) {
    const PlotMapping map(geometry_);
    canvas.SetPenColor(kMarkerColor);
    const int32_t xp = map.SampleX(in.syncPosition);
    Line(canvas, xp, 0, xp, geometry_.plotHeight);
    const int32_t yl = map.Y(in.syncLevel);
    Line(canvas, geometry_.plotLeft, yl, map.Right(), yl);
}

void TraceDisplay::DrawXy(Canvas& canvas, const SampleFrame& frame) {
    const PlotMapping map(geometry_);
    canvas.SetPenColor(kXyColor);
    canvas.MoveTo(map.XyX(frame.Sample(0, 0)), map.Y(frame.Sample(0, 1)));
    const uint32_t count = frame.PointCount();
    if (count < 2) return;
    const std::size_t points = std::min<std::size_t>(count, kSamplePairs);
    for (std::size_t pair = 1; pair < points; ++pair) {
        canvas.LineTo(map.XyX(frame.Sample(pair, 0)), map.Y(frame.Sample(pair, 1)));
    }
}

void TraceDisplay::DrawTrace(Canvas& canvas, const SampleFrame& frame, int channel) {
    const PlotMapping map(geometry_);
    canvas.SetPenColor(channel == 0 ? kTrace1Color : kTrace2Color);
    Line(canvas, 0, 0, geometry_.plotWidth, 0);  // along the top edge, as the instrument does
    canvas.MoveTo(geometry_.plotLeft, map.Y(frame.Sample(0, channel)));
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        canvas.LineTo(map.SampleX(static_cast<int64_t>(i)), map.Y(frame.Sample(i, channel)));
    }
}

}  // namespace velmora
