// velmora-instrument: the virtual instrument on a pseudo-terminal. Prints the
// path of the port link it registered (one line), serves until SIGINT or
// SIGTERM, then removes the link.
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "instrument/CommandLine.h"
#include "instrument/VirtualInstrument.h"

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) { stopRequested.store(true); }

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    const velmora::CommandLine::Result command = velmora::CommandLine::Parse(argc, argv);
    if (command.outcome == velmora::CommandLine::Outcome::kHelp) {
        std::fputs(velmora::CommandLine::HelpText().c_str(), stdout);
        return 0;
    }
    if (command.outcome == velmora::CommandLine::Outcome::kError) {
        std::fprintf(stderr, "velmora-instrument: %s\nTry 'velmora-instrument --help'.\n",
                     command.error.c_str());
        return 2;
    }
    InstallSignalHandlers();
    velmora::VirtualInstrument instrument(command.options);
    std::string error;
    if (!instrument.Open(error)) {
        std::fprintf(stderr, "velmora-instrument: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", instrument.LinkPath().c_str());
    std::fflush(stdout);
    instrument.Run(stopRequested);
    instrument.Stop();
    return 0;
}
