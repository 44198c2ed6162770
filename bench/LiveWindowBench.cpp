// What the live window costs the machine, as a user runs it: the real window
// against velmora-instrument on a pseudo-terminal, at the design's 5 frames
// per second, with the instrument's own generator putting a sine on each
// channel (switched on through the window's controls). It runs on the xcb
// platform of an X server of its own (Xvfb): the offscreen platform never
// presents a frame, so it would leave out getting the picture to the screen,
// which is most of the cost. Prints the frames drawn and the window process's
// CPU time (user and system, all threads) per frame and per second, its
// threads and its resident memory, over the measured stretch only (start-up
// and switching the generator on are left out).
//
//   LiveWindowBench [--seconds N] [--frequency HZ]      the Qt window, in this process
//   LiveWindowBench --win32 PATH/velmora.exe [...]      the Win32 window under Wine
//
// The default stretch is 20 s, the default sine the window's own (20000 Hz,
// five samples a cycle: a dense trace); --frequency types another into both
// frequency boxes. The Win32 window needs Wine's prefix in the environment
// (`source scripts/wine-prefix.sh`).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "LiveStage.h"
#include "QtLiveWindow.h"
#include "WineLiveWindow.h"

namespace {

using velmora::bench::LiveOptions;

bool Digits(const char* text) {
    return *text != 0 && std::strspn(text, "0123456789") == std::strlen(text);
}

bool Parse(int argc, char** argv, LiveOptions& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0) {
            options.seconds = std::strtod(argv[i + 1], nullptr);
            if (!(options.seconds > 0 && options.seconds <= 3600)) return false;
        } else if (std::strcmp(argv[i], "--frequency") == 0 && Digits(argv[i + 1])) {
            options.frequency = argv[i + 1];
        } else if (std::strcmp(argv[i], "--win32") == 0) {
            options.win32 =
                std::filesystem::absolute(argv[i + 1]).string();  // before the stage's chdir
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

}  // namespace

int main(int argc, char** argv) {
    LiveOptions options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(
            stderr,
            "usage: LiveWindowBench [--win32 velmora.exe] [--seconds N] [--frequency HZ]\n");
        return 2;
    }
    velmora::bench::LiveStage stage;
    if (!stage.Start(VELMORA_INSTRUMENT_PROGRAM)) return 1;
    if (!options.win32.empty()) {
        return velmora::bench::RunWineWindow(stage, options);
    }
    // Qt takes its own arguments out of argv; ours are read already.
    int qtArgc = 1;
    return velmora::bench::RunQtWindow(stage, options, qtArgc, argv);
}
