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

// What the command-line programs need of the system they run on.
struct CommandSystem {
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

// Exit statuses of the command-line programs.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // port will not open, frames stopped, a file failed
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInterrupted = 130;

using CommandMain = int (*)(int argc, const char* const* argv, CommandSystem& system);

// Runs `command` on this system's ports, files and clocks; Ctrl+C and the
// system's requests to stop set `interrupted`, and the command ends between
// ticks with its files finished. Defined once for each system.
int RunOnThisSystem(int argc, char** argv, CommandMain command);

}  // namespace velmora
