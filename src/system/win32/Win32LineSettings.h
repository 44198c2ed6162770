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

// The bits of the flags word that are set on every open: fDtrControl
// (0x30), fTXContinueOnXoff (0x80), fRtsControl (0x3000) and fAbortOnError
// (0x4000), which LineSettings names, and with them fBinary (0x1) and the
// eight fields that would drop or rewrite sample bytes when the last program
// on the port left them on: fParity (0x2), fOutxCtsFlow (0x4), fOutxDsrFlow
// (0x8), fDsrSensitivity (0x40), fOutX (0x100), fInX (0x200), fErrorChar
// (0x400) and fNull (0x800). A frame is binary: 0x00 is a sample byte, and
// 0x54 and 0xD4, the XonChar and XoffChar, are too. So the line is raw 8N1
// whatever came before, as the termios port makes it. Bit 15 and up (fDummy2)
// stay as read.
inline constexpr uint32_t kOwnedDcbFlags = 0x7FFF;

// The 32-bit flags word of a DCB, and its replacement as a whole.
uint32_t DcbFlagsWord(const DCB& dcb);
void SetDcbFlagsWord(DCB& dcb, uint32_t word);

// The owned flag bits for `settings`: fBinary (0x1) always,
// DTR_CONTROL_ENABLE (0x10) when DTR is to be raised, RTS_CONTROL_HANDSHAKE
// (0x2000) for receiver flow control on RTS, 0x80 and 0x4000 for the two
// booleans; a false setting is the field's zero value (DTR_CONTROL_DISABLE,
// RTS_CONTROL_DISABLE), and the eight other owned fields are 0.
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
