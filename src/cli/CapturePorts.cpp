#include "cli/CapturePorts.h"

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

}  // namespace velmora
