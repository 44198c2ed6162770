#pragma once

#include <termios.h>

#include <cstdint>
#include <optional>

#include "system/SerialPort.h"

namespace velmora {

// Translation between the link's LineSettings and a termios structure. Pure
// functions, so that the mapping is testable without a device.

// The termios speed constant of a baud rate; nothing for rates termios has no
// constant for (those would need the BOTHER interface, which we do not use).
std::optional<speed_t> SpeedForBaud(uint32_t baud);
// The baud rate of a termios speed constant; 0 for an unknown constant.
uint32_t BaudForSpeed(speed_t speed);

// Fills the fields of `settings` that termios describes: baud rate, byte size,
// parity, stop bits, RTS/CTS flow control and the XON/XOFF characters. DTR
// comes from the modem lines, not from termios; the remaining fields have no
// termios counterpart and are left as they are.
void ReadLineSettings(const termios& tio, LineSettings& settings);

// Puts `tio` into raw mode with the settings' speed and framing: no line
// editing, echo, signal characters or output processing; receiver on; modem
// control lines ignored (CLOCAL); no hardware or software flow control; reads
// return at once (VMIN = VTIME = 0; the port waits with poll itself).
// False, with `tio` unchanged, for a baud rate, byte size, parity or stop bit
// setting termios cannot express.
bool ApplyLineSettings(const LineSettings& settings, termios& tio);

}  // namespace velmora
