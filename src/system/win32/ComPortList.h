#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

}  // namespace velmora
