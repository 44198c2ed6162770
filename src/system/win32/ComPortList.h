#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/SerialPort.h"

namespace velmora {

// The port list of the Windows build from the port numbers the system
// reports. Pure, so that parsing and ordering are testable without a system.

// The number of a port name as the registry and the DOS device space spell
// it: "COM" (any case) and decimal digits, 1 to 4294967295. Nothing for any
// other text, for COM0, and for a number that does not fit in 32 bits.
std::optional<uint32_t> ComPortNumber(std::string_view name);

// List entries for the port numbers in any order: ascending, each number
// once, 0 dropped, the first kMaxPorts kept. Entry name "COM%lu", path
// "\\.\COM%lu" (the device namespace, which also reaches COM10 and above).
std::vector<PortEntry> ComPortEntries(std::vector<uint32_t> numbers);

// Whether a port is opened only when the user picks it, from the kernel
// device its DOS name leads to: the on-board UARTs of serial.sys
// ("\Device\Serial" and a number; USB adapters have devices of their own,
// "\Device\VCP0", "\Device\USBSER000", "\Device\Silabser0") and
// Bluetooth's ports ("\Device\BthModem" and a number). Under Wine every
// COM port is "\Device\Serial<n>"; there a port the user mapped in Wine's
// own port table (`wineTarget`, the Unix device) is picked-only only when
// that device is an on-board UART (/dev/ttyS<n>).
bool PickedOnlyDevice(std::string_view device, std::string_view wineTarget);

}  // namespace velmora
