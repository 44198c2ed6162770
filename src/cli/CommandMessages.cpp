#include "cli/CommandMessages.h"

#include <cstdio>

#include "capture/CaptureCsv.h"
#include "cli/CommandSystem.h"

namespace velmora {

int CommandMessages::Usage(const std::string& error) {
    EndProgress();
    std::fprintf(stderr, "%s: %s\n%s\n", program_, error.c_str(), usageLine_);
    return kExitUsage;
}

int CommandMessages::Failed(const std::string& error) {
    EndProgress();
    std::fprintf(stderr, "%s: %s\n", program_, error.c_str());
    return kExitFailed;
}

int CommandMessages::Informational(bool help, const char* helpText) {
    if (help) {
        std::fputs(helpText, stdout);
    } else {
        std::printf("%s %s\n", program_, VelmoraVersion());
    }
    return kExitDone;
}

int CommandMessages::Finished(int status, const std::string& error, const std::string& kept,
                              const std::vector<std::string>& failures) {
    if (!error.empty()) status = Failed(error + kept);
    for (const std::string& failure : failures) status = Failed(failure);
    EndProgress();
    return status;
}

void CommandMessages::Progress(const std::string& text) {
    if (!onTerminal_ || quiet_) return;
    progressShown_ = true;
    std::fprintf(stderr, "\r%s", text.c_str());
    std::fflush(stderr);
}

void CommandMessages::EndProgress() {
    if (progressShown_) std::fputc('\n', stderr);
    progressShown_ = false;
}

}  // namespace velmora
