#include "LiveStage.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace velmora::bench {
namespace {

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

}  // namespace

LiveStage::~LiveStage() {
    instrument_.Stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::current_path("/tmp", ignored);
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool LiveStage::Start(const std::string& instrumentProgram) {
    char pattern[] = "/tmp/velmora-liveXXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    folder_ = pattern;
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    if (chdir(folder_.c_str()) != 0) return false;
    if (!display_.Start(folder_ + "/xvfb.log")) {
        std::fprintf(stderr, "no X server could be started (Xvfb; see install-deps.sh)\n");
        return false;
    }
    const std::string out = folder_ + "/instrument.out";
    if (!instrument_.Start({instrumentProgram, "--trace", folder_ + "/trace.txt"}, out) ||
        !WaitFor(10000, [&] { return !FirstLine(out).empty() || !instrument_.Running(); })) {
        std::fprintf(stderr, "%s did not start\n", instrumentProgram.c_str());
        return false;
    }
    std::error_code error;
    terminal_ = std::filesystem::canonical(FirstLine(out), error).string();
    if (error) std::fprintf(stderr, "the instrument's port: %s\n", FirstLine(out).c_str());
    return !error;
}

int LiveStage::CommandsReceived(const std::string& prefix) const {
    std::ifstream trace(folder_ + "/trace.txt");
    int count = 0;
    for (std::string line; std::getline(trace, line);) count += line.rfind(prefix, 0) == 0;
    return count;
}

}  // namespace velmora::bench
