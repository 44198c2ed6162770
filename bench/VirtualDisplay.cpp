#include "VirtualDisplay.h"

#include <filesystem>

namespace velmora::bench {
namespace {

bool Taken(int n) {
    const std::string id = std::to_string(n);
    return std::filesystem::exists("/tmp/.X" + id + "-lock") ||
           std::filesystem::exists("/tmp/.X11-unix/X" + id);
}

}  // namespace

// Another developer's server may take a free number between our look and
// Xvfb's start; Xvfb then ends at once and the next number is tried.
bool VirtualDisplay::Start(const std::string& log) {
    for (int n = 90; n <= 150; ++n) {
        if (Taken(n)) continue;
        const std::string id = std::to_string(n);
        const std::string name = std::string(":").append(id);
        const std::string socket = "/tmp/.X11-unix/X" + id;
        if (!server_.Start({"Xvfb", name, "-screen", "0", "1600x1200x24", "-nolisten", "tcp"},
                           log)) {
            return false;
        }
        if (WaitFor(10000, [&] { return !server_.Running() || std::filesystem::exists(socket); }) &&
            server_.Running()) {
            name_ = name;
            return true;
        }
        server_.Stop();
    }
    return false;
}

}  // namespace velmora::bench
