#pragma once

#include <memory>
#include <string>
#include <vector>

#include "system/SerialPort.h"
#include "system/posix/PortDiscovery.h"

namespace velmora {

// The system's serial ports on Linux: discovery through sysfs and the per-user
// port directory (see PortDiscovery), opening as TermiosSerialPort.
class PosixSerialPorts final : public SerialPorts {
  public:
    // The default looks at the real system; tests pass a discovery over
    // directories of their own.
    explicit PosixSerialPorts(PortDiscovery discovery = PortDiscovery());

    std::vector<PortEntry> Discover() override;
    std::vector<std::string> DiscoveryNotes() const override { return notes_; }
    // Exclusive open; see TermiosSerialPort::Open.
    OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port) override;
    std::string LastOpenError() const override { return lastOpenError_; }

  private:
    PortDiscovery discovery_;
    std::vector<std::string> notes_;  // of the last Discover()
    std::string lastOpenError_;       // of the last Open()
};

}  // namespace velmora
