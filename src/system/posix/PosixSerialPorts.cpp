#include "system/posix/PosixSerialPorts.h"

#include <utility>

#include "system/posix/PortLinkLock.h"
#include "system/posix/TermiosSerialPort.h"

namespace velmora {

PosixSerialPorts::PosixSerialPorts(PortDiscovery discovery) : discovery_(std::move(discovery)) {}

std::vector<PortEntry> PosixSerialPorts::Discover() {
    notes_.clear();
    return discovery_.List(&notes_);
}

// A stale port link leads to whatever terminal now has its number, so it is
// never opened, whoever names it.
OpenOutcome PosixSerialPorts::Open(const char* path, std::unique_ptr<SerialPort>& port) {
    lastOpenError_.clear();
    if (PortLinkLock::IsStale(path)) {
        lastOpenError_ = "a port link left behind by an instrument that is gone";
        return OpenOutcome::NotSerialPort;
    }
    return TermiosSerialPort::Open(path, port, &lastOpenError_);
}

}  // namespace velmora
