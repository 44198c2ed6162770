#include "system/win32/Win32SerialPorts.h"

#include "system/win32/ComPortList.h"
#include "system/win32/Win32PortSources.h"
#include "system/win32/Win32SerialPort.h"

namespace velmora {

std::vector<PortEntry> Win32SerialPorts::Discover() {
    if (std::optional<std::vector<uint32_t>> numbers = CommApiPortNumbers()) {
        return ComPortEntries(std::move(*numbers));
    }
    std::vector<uint32_t> numbers = RegistryPortNumbers();
    if (numbers.empty()) numbers = DosDevicePortNumbers();
    return ComPortEntries(std::move(numbers));
}

OpenOutcome Win32SerialPorts::Open(const char* path, std::unique_ptr<SerialPort>& port) {
    return Win32SerialPort::Open(path, port);
}

}  // namespace velmora
