#include "system/win32/Win32SerialPorts.h"

#include "system/win32/ComPortDiscovery.h"
#include "system/win32/Win32PortSources.h"
#include "system/win32/Win32SerialPort.h"

namespace velmora {

std::vector<PortEntry> Win32SerialPorts::Discover() {
    return DiscoverComPorts(ComPortSources{FindGetCommPorts(), RegistryPortNumbers,
                                           DosDevicePortNumbers, PortIsPickedOnly});
}

OpenOutcome Win32SerialPorts::Open(const char* path, std::unique_ptr<SerialPort>& port) {
    lastOpenError_.clear();
    return Win32SerialPort::Open(path, port, &lastOpenError_);
}

}  // namespace velmora
