#include "LiveFigures.h"

#include <algorithm>
#include <cstdio>

namespace velmora::bench {

void PrintFigures(const LiveFigures& f) {
    const double user = f.end.userSeconds - f.start.userSeconds;
    const double system = f.end.systemSeconds - f.start.systemSeconds;
    const double cpu = user + system;
    const double seconds = std::max(f.seconds, 1e-9);
    std::printf("%s, %.1f s\n", f.window.c_str(), f.seconds);
    std::printf("  frames drawn     %lld (%.2f per second)\n", static_cast<long long>(f.frames),
                static_cast<double>(f.frames) / seconds);
    std::printf("  CPU              %.3f s (user %.3f s, system %.3f s)\n", cpu, user, system);
    if (f.frames > 0) {
        std::printf("  CPU per frame    %.2f ms\n", 1000.0 * cpu / static_cast<double>(f.frames));
    }
    std::printf("  CPU per second   %.1f ms (%.2f %% of one core)\n", 1000.0 * cpu / seconds,
                100.0 * cpu / seconds);
    std::printf("  threads          %d\n", f.end.threads);
    std::printf("  resident memory  %.1f MB\n", static_cast<double>(f.end.residentKiB) / 1024.0);
}

}  // namespace velmora::bench
