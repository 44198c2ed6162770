#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "system/SerialPort.h"

namespace velmora {

// GetCommPorts of the comm API set: fills up to `capacity` port numbers,
// reports how many ports there are, and answers ERROR_MORE_DATA when the
// table was too small for them.
using GetCommPortsFn = ULONG(WINAPI*)(PULONG numbers, ULONG capacity, PULONG found);

// Where discovery asks for port numbers. Injected, so that the joining and
// ordering can be checked without a system's ports.
struct ComPortSources {
    // Null where the system does not export it (older systems, Wine).
    GetCommPortsFn getCommPorts = nullptr;
    // The registry's SERIALCOMM ports: asked only when getCommPorts is null
    // or cannot give a whole list.
    std::function<std::vector<uint32_t>()> registry;
    // The COM DOS devices the system knows.
    std::function<std::vector<uint32_t>()> dosDevices;
    // Whether COMn is opened only when the user picks it (PickedOnlyDevice).
    std::function<bool(uint32_t number)> pickedOnly;
};

// Every number GetCommPorts reports, asking again with a table of the size
// it names when it answers ERROR_MORE_DATA (its partial table is in no
// particular order), up to kMaxPortQuery numbers. Nothing when the call is
// missing or still finds its table too small.
std::optional<std::vector<uint32_t>> CommApiPortNumbers(GetCommPortsFn getCommPorts);
inline constexpr ULONG kMaxPortQuery = 4096;

// The port list: what GetCommPorts reports (or, without it, the registry)
// together with the DOS devices, because a port may be known only as a DOS
// device (a dosdevices link under Wine, some virtual-port drivers) and still
// open as \\.\COMn. Ascending, each port once, the lowest 100, each marked
// as `pickedOnly` says.
std::vector<PortEntry> DiscoverComPorts(const ComPortSources& sources);

}  // namespace velmora
