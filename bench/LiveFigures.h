#pragma once

#include <cstdint>
#include <string>

#include "ProcessProbe.h"

namespace velmora::bench {

// What the benchmark runs: how long it measures, the frequency of the sine
// (empty: the window's own, 20000 Hz) and, for the Win32 window, velmora.exe.
struct LiveOptions {
    double seconds = 20;
    std::string frequency;
    std::string win32;
};

// One measured stretch of a live window: the frames it drew and its process's
// processor time between two samples.
struct LiveFigures {
    std::string window;  // what ran, with the sine's frequency, for the heading
    double seconds = 0;  // wall-clock length of the stretch
    int64_t frames = 0;
    CpuSample start, end;
};

// Frames, CPU seconds (user, system), CPU per frame and per second, threads
// and resident memory at the end, one figure a line.
void PrintFigures(const LiveFigures& figures);

}  // namespace velmora::bench
