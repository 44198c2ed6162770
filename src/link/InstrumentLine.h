#pragma once

#include "system/SerialPort.h"

namespace velmora {

// The line the instrument speaks: 115200 baud 8N1, DTR raised, receiver flow
// control on RTS, and the classic driver limits for XON/XOFF flow control.
// Only the fields named here change; the others keep what the port reported.
void ApplyInstrumentLine(LineSettings& settings);

// A read returns at n bytes, after a gap of more than 1 ms between bytes, or
// after n + 1 ms in all; writes have no time-out of their own here (each port
// bounds them itself, so a stuck line never hangs the window).
inline constexpr PortTimeouts kInstrumentTimeouts{1, 1, 1, 0, 0};

// A read returns at once with what has already arrived, perhaps nothing (the
// classic API's all-ones interval with no totals): for a line gone silent.
inline constexpr PortTimeouts kReturnAtOnceTimeouts{UINT32_MAX, 0, 0, 0, 0};

}  // namespace velmora
