#pragma once

#include <memory>
#include <string>
#include <vector>

#include "system/SerialPort.h"

namespace velmora {

// The system's COM ports on Windows. Discovery asks GetCommPorts where the
// system exports it, otherwise the registry's SERIALCOMM key, and adds the
// DOS device names COM1..COM255 that exist (DiscoverComPorts). Entries
// "COM%lu" with the path "\\.\COM%lu", in ascending number order, at most 100.
class Win32SerialPorts final : public SerialPorts {
  public:
    std::vector<PortEntry> Discover() override;
    // Exclusive open; see Win32SerialPort::Open.
    OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port) override;
    std::string LastOpenError() const override { return lastOpenError_; }

  private:
    std::string lastOpenError_;  // of the last Open()
};

}  // namespace velmora
