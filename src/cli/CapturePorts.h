#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "system/SerialPort.h"

namespace velmora {

// The system's ports as the capture command shows the window one port: the
// one named on its command line, found by name or path in the system's list,
// or taken as a path (or a device name) that the list does not know.
class CapturePorts final : public SerialPorts {
  public:
    // The port named on the command line was picked by the user, whatever
    // kind it is.
    CapturePorts(SerialPorts& system, PortEntry port) : system_(system), port_(std::move(port)) {
        port_.pickedOnly = false;
    }

    std::vector<PortEntry> Discover() override { return {port_}; }
    OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port) override {
        return system_.Open(path, port);
    }
    std::string LastOpenError() const override { return system_.LastOpenError(); }
    const PortEntry& Port() const { return port_; }

  private:
    SerialPorts& system_;
    PortEntry port_;
};

// `name` as a port: an entry of the system's list by name or by path; else a
// path as given when it holds a folder separator; else the system's device of
// that name (`devicePath`).
PortEntry ResolvePort(const std::string& name, SerialPorts& system,
                      const std::function<std::string(const std::string&)>& devicePath);

// --list-ports: the ports as the window lists them, "NAME PATH" a line, and
// each port directory that was skipped on standard error. Returns 0.
int ListPorts(const char* program, SerialPorts& ports);

// A port list that finds nothing and opens nothing.
class NoPorts final : public SerialPorts {
  public:
    std::vector<PortEntry> Discover() override { return {}; }
    OpenOutcome Open(const char*, std::unique_ptr<SerialPort>&) override {
        return OpenOutcome::DoesNotExist;
    }
};

}  // namespace velmora
