#include "cli/CapturePorts.h"

#include <cstdio>

namespace velmora {

PortEntry ResolvePort(const std::string& name, SerialPorts& system,
                      const std::function<std::string(const std::string&)>& devicePath) {
    for (const PortEntry& entry : system.Discover()) {
        if (entry.name == name || entry.path == name) return entry;
    }
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) return PortEntry{name.substr(slash + 1), name};
    return PortEntry{name, devicePath(name)};
}

int ListPorts(const char* program, SerialPorts& ports) {
    for (const PortEntry& entry : ports.Discover()) {
        std::printf("%s %s\n", entry.name.c_str(), entry.path.c_str());
    }
    for (const std::string& note : ports.DiscoveryNotes()) {
        std::fprintf(stderr, "%s: %s\n", program, note.c_str());
    }
    return 0;
}

}  // namespace velmora
