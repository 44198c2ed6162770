#include "link/CommandSender.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace velmora {
namespace {

// vsnprintf truncates to the buffer; the longest command is 27 bytes, so a
// truncated text can only come from a caller's mistake, never from a value.
std::size_t FormatInto(char (&buffer)[kCommandBytes], const char* format, va_list args) {
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return std::strlen(buffer);
}

}  // namespace

void SendCommand(SerialLink& link, Memo& display, const char* format, ...) {
    char buffer[kCommandBytes];
    va_list args;
    va_start(args, format);
    const std::size_t length = FormatInto(buffer, format, args);
    va_end(args);
    display.Append(buffer);
    link.Write(reinterpret_cast<const uint8_t*>(buffer), length);
}

void LogLine(Memo& display, const char* format, ...) {
    char buffer[kCommandBytes];
    va_list args;
    va_start(args, format);
    FormatInto(buffer, format, args);
    va_end(args);
    display.Append(buffer);
}

}  // namespace velmora
