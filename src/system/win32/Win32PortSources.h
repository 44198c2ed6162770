#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

// The three places Windows names its COM ports, in the order discovery asks
// them. Each returns port numbers in the order the system gives them.

// GetCommPorts of the comm API set (kernelbase.dll, or the API set DLL that
// forwards to it), looked up at run time: older systems and Wine do not
// export it. Nothing when the call is not there; otherwise at most 100
// numbers (the count it reports, capped; its return code is not looked at).
std::optional<std::vector<uint32_t>> CommApiPortNumbers();

// The data ("COM5") of every value under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM,
// where serial drivers register their ports. Empty when the key is missing.
std::vector<uint32_t> RegistryPortNumbers();

// "COM1".."COM255" that QueryDosDeviceA knows as DOS devices: also finds
// ports whose driver left no SERIALCOMM value.
std::vector<uint32_t> DosDevicePortNumbers();

}  // namespace velmora
