#pragma once

#include <cstdint>
#include <vector>

#include "system/win32/ComPortDiscovery.h"

namespace velmora {

// The three places Windows names its COM ports (ComPortDiscovery joins
// them). The lists hold port numbers in the order the system gives them.

// GetCommPorts of the comm API set (kernelbase.dll, or the API set DLL that
// forwards to it), looked up at run time: older systems and Wine do not
// export it. Null when the call is not there.
GetCommPortsFn FindGetCommPorts();

// The data ("COM5") of every value under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM,
// where serial drivers register their ports. Empty when the key is missing.
std::vector<uint32_t> RegistryPortNumbers();

// "COM1".."COM255" that QueryDosDeviceA knows as DOS devices: also finds
// ports whose driver left no SERIALCOMM value.
std::vector<uint32_t> DosDevicePortNumbers();

// Whether COMn is an on-board UART or a Bluetooth port (PickedOnlyDevice),
// from the kernel device QueryDosDeviceA names and, under Wine, the Unix
// device of the port's value under HKLM\Software\Wine\Ports.
bool PortIsPickedOnly(uint32_t number);

}  // namespace velmora
