#pragma once

#include <windows.h>

#include <cstdint>

#include "system/SerialPort.h"

namespace velmora {

// Translation between the link's LineSettings and PortTimeouts and the Win32
// DCB and COMMTIMEOUTS structures. Pure functions, so that every bit can be
// checked without a port.

// The DCB as the serial API knows it: 28 bytes, the flag bits in the one
// 32-bit word that follows DCBlength and BaudRate.
inline constexpr DWORD kDcbLength = 28;

// The bits of the flags word that LineSettings owns: fDtrControl (0x30),
// fTXContinueOnXoff (0x80), fRtsControl (0x3000) and fAbortOnError (0x4000).
inline constexpr uint32_t kOwnedDcbFlags = 0x70B0;

// The 32-bit flags word of a DCB, and its replacement as a whole.
uint32_t DcbFlagsWord(const DCB& dcb);
void SetDcbFlagsWord(DCB& dcb, uint32_t word);

// The owned flag bits for `settings`: DTR_CONTROL_ENABLE (0x10) when DTR is
// to be raised, RTS_CONTROL_HANDSHAKE (0x2000) for receiver flow control on
// RTS, 0x80 and 0x4000 for the two booleans; a false setting is the field's
// zero value (DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE).
uint32_t OwnedDcbFlags(const LineSettings& settings);

// Fills `settings` from a DCB read by GetCommState.
void ReadLineSettings(const DCB& dcb, LineSettings& settings);

// Writes the settings into `dcb`, which holds the state as read: BaudRate,
// ByteSize, Parity, StopBits, XonLim, XoffLim, XonChar, XoffChar, ErrorChar,
// and the owned flag bits, replaced in one operation on the flags word.
// Every other field and bit keeps the value read.
void ApplyLineSettings(const LineSettings& settings, DCB& dcb);

// The bound on a whole write when the caller asks for no write time-out: a
// port that stops draining (a hung adapter, a peer holding flow control off)
// must not hang the UI thread. The same bound as the termios port's.
inline constexpr DWORD kWriteTimeoutMs = 1000;

// COMMTIMEOUTS for `timeouts`, field for field, except that no write
// time-out (both write fields 0) becomes WriteTotalTimeoutConstant =
// kWriteTimeoutMs.
COMMTIMEOUTS CommTimeoutsFor(const PortTimeouts& timeouts);

}  // namespace velmora
