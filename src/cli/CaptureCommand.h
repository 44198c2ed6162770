#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "system/Clock.h"
#include "system/OutputFiles.h"
#include "system/SerialPort.h"
#include "system/WallClock.h"

namespace velmora {

// What velmora-capture needs of the system it runs on.
struct CaptureSystem {
    SerialPorts& ports;
    OutputFiles& files;
    Clock& clock;
    WallClock& wallClock;
    std::function<std::unique_ptr<OutputFile>()> standardOutput;
    // The device path of a bare port name the list does not know.
    std::function<std::string(const std::string& name)> devicePath;
    // Why `path` will not open, in words (it does not exist, another program
    // holds it, permission denied with what to do about it, ...).
    std::function<std::string(const std::string& path)> whyNotOpened;
    bool progressOnTerminal = false;       // standard error is a terminal
    const std::atomic<bool>& interrupted;  // Ctrl+C (or the system's request to stop)
};

// Exit statuses.
inline constexpr int kCaptureDone = 0;
inline constexpr int kCaptureFailed = 1;  // port will not open, frames stopped, a file failed
inline constexpr int kCaptureUsage = 2;
inline constexpr int kCaptureInterrupted = 130;

// The capture command: the window's core headless (its form on a null canvas,
// its start-up, then each setting through the handler a user's click runs,
// its timer every 200 ms), writing every frame that arrives after the last
// setting went out. Returns the exit status.
int RunCaptureCommand(int argc, const char* const* argv, CaptureSystem& system);

}  // namespace velmora
