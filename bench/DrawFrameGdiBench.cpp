// One whole redraw of the picture (graticule, labels, markers, both traces,
// both spectra) on the Win32 window's GDI canvas: the 32-bit DIB section of
// the client size that WM_PAINT shows. A plain timing program, since Google
// Benchmark is not packaged for MinGW here; run under Wine like the tests
// (scripts/bench-windows.sh). `DrawFrameGdiBench.exe [REDRAWS]` (default
// 200) prints the median and the fastest redraw of the usual frame and of
// the busy one, at the design size (96 DPI) and at 144 DPI, each redraw a
// sample later than the one before (a trace that moves), then of the usual
// frame with 20 of its samples changed (a triggered trace with a little
// noise) and the usual frame again (a trace that stands still), with the
// share of the picture the window would show again after each, as it does
// after every event.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchPicture.h"
#include "controls/DpiScale.h"
#include "display/TraceDisplay.h"
#include "gui/win32/GdiCanvas.h"
#include "gui/win32/WindowFonts.h"

namespace {

using velmora::DisplayInputs;
using velmora::PixelRect;
using velmora::ToDevicePixels;

double Pixels(const std::vector<PixelRect>& area) {
    double n = 0;
    for (const PixelRect& r : area)
        n += double(r.right - r.left + 1) * double(r.bottom - r.top + 1);
    return n;
}

enum class Turns { Moving, FewSamples, Still };

// The redraws take turns between two frames: the second a sample later than
// the first (Moving), the first with a few samples changed, or the first.
void Measure(int dpi, bool busy, Turns turns, int redraws) {
    DisplayInputs in = velmora::bench::Everything();
    in.dpi = dpi;
    in.clientWidth = ToDevicePixels(in.clientWidth, dpi);
    in.clientHeight = ToDevicePixels(in.clientHeight, dpi);
    in.syncVoltBarWidth = ToDevicePixels(in.syncVoltBarWidth, dpi);
    in.syncPosBarHeight = ToDevicePixels(in.syncPosBarHeight, dpi);
    const velmora::WindowFonts fonts(dpi);
    velmora::GdiCanvas canvas(in.clientWidth, in.clientHeight, fonts.text.Get(),
                              RGB(240, 240, 240));
    velmora::SampleFrame frames[2] = {velmora::bench::MakeFrame(busy),
                                      velmora::bench::MakeFrame(busy)};
    if (turns == Turns::Moving) {
        std::rotate(frames[1].samples.begin(), frames[1].samples.begin() + velmora::kPairBytes,
                    frames[1].samples.end());
    } else if (turns == Turns::FewSamples) {
        for (std::size_t i = 0; i < 20; ++i)
            frames[1].samples[i * 101 * velmora::kPairBytes] ^= 0x40;
    }
    velmora::TraceDisplay display;
    display.DrawFrame(canvas, frames[1], in);  // the picture the first redraw follows
    canvas.TakeChangedArea();
    std::vector<double> ms;
    double shown = 0;
    for (int i = 0; i < redraws; ++i) {
        const auto start = std::chrono::steady_clock::now();
        canvas.Begin();
        display.DrawFrame(canvas, frames[i % 2], in);
        canvas.End();
        GdiFlush();  // GDI may batch calls: the redraw ends when they are done
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        shown += Pixels(canvas.TakeChangedArea());
    }
    std::sort(ms.begin(), ms.end());
    const double picture = double(in.clientWidth) * in.clientHeight * redraws;
    std::printf(
        "DrawFrame on the GDI canvas, %d x %d (%d DPI), %s frame%s: median %.2f ms, "
        "fastest %.2f ms over %d redraws, %.0f %% of the picture shown again\n",
        in.clientWidth, in.clientHeight, dpi, busy ? "busy" : "usual",
        turns == Turns::Moving       ? ""
        : turns == Turns::FewSamples ? " with 20 samples changed"
                                     : " again",
        ms[ms.size() / 2], ms.front(), redraws, 100.0 * shown / picture);
}

}  // namespace

int main(int argc, char** argv) {
    const int redraws = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    for (const int dpi : {96, 144}) {
        for (const bool busy : {false, true}) Measure(dpi, busy, Turns::Moving, redraws);
        Measure(dpi, false, Turns::FewSamples, redraws);
        Measure(dpi, false, Turns::Still, redraws);
    }
    return 0;
}
