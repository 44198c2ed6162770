// One whole redraw of the picture (graticule, labels, markers, both traces,
// both spectra) on the Win32 window's GDI canvas: the 32-bit DIB section of
// the client size that WM_PAINT shows. A plain timing program, since Google
// Benchmark is not packaged for MinGW here; run under Wine like the tests
// (scripts/bench-windows.sh). `DrawFrameGdiBench.exe [REDRAWS]` (default
// 200) prints the median and the fastest redraw of the usual frame and of
// the busy one, at the design size (96 DPI) and at 144 DPI.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchPicture.h"
#include "display/TraceDisplay.h"
#include "controls/DpiScale.h"
#include "gui/win32/GdiCanvas.h"
#include "gui/win32/WindowFonts.h"

namespace {

using velmora::DisplayInputs;
using velmora::ToDevicePixels;

void Measure(int dpi, bool busy, int redraws) {
    DisplayInputs in = velmora::bench::Everything();
    in.dpi = dpi;
    in.clientWidth = ToDevicePixels(in.clientWidth, dpi);
    in.clientHeight = ToDevicePixels(in.clientHeight, dpi);
    in.syncVoltBarWidth = ToDevicePixels(in.syncVoltBarWidth, dpi);
    in.syncPosBarHeight = ToDevicePixels(in.syncPosBarHeight, dpi);
    const velmora::WindowFonts fonts(dpi);
    velmora::GdiCanvas canvas(in.clientWidth, in.clientHeight, fonts.text.Get(),
                              RGB(240, 240, 240));
    const velmora::SampleFrame frame = velmora::bench::MakeFrame(busy);
    velmora::TraceDisplay display;
    std::vector<double> ms;
    for (int i = 0; i < redraws; ++i) {
        const auto start = std::chrono::steady_clock::now();
        display.DrawFrame(canvas, frame, in);
        GdiFlush();  // GDI may batch calls: the redraw ends when they are done
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf(
        "DrawFrame on the GDI canvas, %d x %d (%d DPI), %s frame: median %.2f ms, "
        "fastest %.2f ms over %d redraws\n",
        in.clientWidth, in.clientHeight, dpi, busy ? "busy" : "usual", ms[ms.size() / 2],
        ms.front(), redraws);
}

}  // namespace

int main(int argc, char** argv) {
    const int redraws = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    for (const int dpi : {96, 144}) {
        for (const bool busy : {false, true}) Measure(dpi, busy, redraws);
    }
    return 0;
}
