#include "system/posix/PosixSerialPorts.h"

#include <utility>

#include "system/posix/TermiosSerialPort.h"

namespace velmora {

PosixSerialPorts::PosixSerialPorts(PortDiscovery discovery) : discovery_(std::move(discovery)) {}

std::vector<PortEntry> PosixSerialPorts::Discover() {
    notes_.clear();
    return discovery_.List(&notes_);
}

OpenOutcome PosixSerialPorts::Open(const char* path, std::unique_ptr<SerialPort>& port) {
    lastOpenError_.clear();
    return TermiosSerialPort::Open(path, port, &lastOpenError_);
}

}  // namespace velmora
