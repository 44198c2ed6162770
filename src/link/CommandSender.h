#pragma once

#include "controls/Memo.h"
#include "link/SerialLink.h"

namespace velmora {

inline constexpr std::size_t kCommandBytes = 80;

// Formats a command into a fixed 80-byte buffer, logs its text (terminator
// included) and writes it to the port in one write. The write's outcome is
// not looked at: commands are never acknowledged.
void SendCommand(SerialLink& link, Memo& display, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Formats a diagnostic line into a fixed 80-byte buffer and logs it.
void LogLine(Memo& display, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace velmora
