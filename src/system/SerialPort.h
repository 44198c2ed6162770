#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora {

// A port's path is kept in fixed storage of this many bytes with its
// terminating zero, so a longer path cannot be opened; and the port list
// holds at most this many ports.
inline constexpr std::size_t kPortPathBytes = 80;
inline constexpr std::size_t kMaxPortPathLength = kPortPathBytes - 1;
inline constexpr std::size_t kMaxPorts = 100;

// Parity and stop bits, numbered as the classic serial API numbers them.
enum class Parity : uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits : uint8_t { One = 0, OneAndHalf = 1, Two = 2 };

// Line settings as the link asks for them. A port fills every field from the
// device in GetState; the link changes the fields it cares about and hands the
// structure back to SetState, so settings the link does not name survive.
struct LineSettings {
    uint32_t baudRate = 0;
    uint8_t byteSize = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    bool dtrEnable = false;
    bool rtsHandshake = false;  // receiver flow control on RTS where the OS can do it
    bool txContinueOnXoff = false;
    bool abortOnError = false;
    uint16_t xonLimit = 0;
    uint16_t xoffLimit = 0;
    uint8_t xonChar = 0;
    uint8_t xoffChar = 0;
    uint8_t errorChar = 0;
};

// Read and write time-outs in milliseconds, with the meaning of the classic
// serial API: a read returns at n bytes, or when more than `readInterval` ms
// pass between two bytes, or at `readTotalMultiplier * n + readTotalConstant`
// ms in all. Zero write fields mean "no write time-out requested".
struct PortTimeouts {
    uint32_t readInterval = 0;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 0;
};

// One open serial port. Only the UI thread calls it.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Current line settings; false when the device refuses to report them.
    virtual bool GetState(LineSettings& settings) = 0;
    // Applies the settings; false when the device rejects them.
    virtual bool SetState(const LineSettings& settings) = 0;
    // Installs the time-outs that Read honours; false on failure.
    virtual bool SetTimeouts(const PortTimeouts& timeouts) = 0;
    // Clears a pending line error so that later reads and writes work again.
    virtual void ClearError() = 0;

    // Reads up to n bytes under the installed time-out rule. Returns the count
    // delivered: fewer than n (or 0) means the line went quiet or failed; a
    // failure is indistinguishable from silence by design.
    virtual std::size_t Read(uint8_t* dst, std::size_t n) = 0;
    // Writes all n bytes or gives up after the port's own write bound (so a
    // stuck line never hangs the caller). The result is advisory only.
    virtual bool Write(const uint8_t* src, std::size_t n) = 0;
    // The device went away under the open port (a USB adapter pulled, the
    // far end of a pseudo-terminal closed), as the last failed read, write or
    // error clearing said. Stays true: nothing on this port works again, and
    // the port should be closed.
    virtual bool Gone() const = 0;
};

// A port as discovery lists it: the list entry and the path to open.
// `pickedOnly` marks a port that is opened only when the user picks it: an
// on-board UART (a modem or a printer's controller may hang on it) or a
// Bluetooth port (whose open can hang for seconds), never the instrument's
// USB or virtual port.
struct PortEntry {
    std::string name;
    std::string path;
    bool pickedOnly = false;
};

// How an open ended. The failures the user can act on have their own
// outcome: nothing at the path, a path the user may not open (on Linux the
// dialout group), a port another program holds, and a path that opens but is
// no serial device (a regular file, a terminal that refuses line settings),
// which is closed before any byte is written.
enum class OpenOutcome { Opened, DoesNotExist, OtherError, PermissionDenied, Busy, NotSerialPort };

// The system's serial ports: discovery and opening.
class SerialPorts {
  public:
    virtual ~SerialPorts() = default;

    // Ports present now, in list order. May allocate (start-up and refresh only).
    virtual std::vector<PortEntry> Discover() = 0;
    // Lines for the diagnostic log about the last Discover(): places it did
    // not look into, and why. None unless a system has such places.
    virtual std::vector<std::string> DiscoveryNotes() const { return {}; }
    // Opens `path` exclusively. On Opened, `port` holds the open port; the port
    // closes when the pointer is released.
    virtual OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port) = 0;
    // The system's words for the last Open that ended in OtherError; empty
    // where the system has none.
    virtual std::string LastOpenError() const { return {}; }
};

}  // namespace velmora
