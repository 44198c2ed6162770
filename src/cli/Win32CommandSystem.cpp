// The command-line programs on Windows: the Win32 ports and files, Ctrl+C.
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "cli/CommandSystem.h"
#include "system/win32/Win32OutputFiles.h"
#include "system/win32/Win32SerialPorts.h"
#include "system/win32/Win32WallClock.h"

namespace {

std::atomic<bool> interrupted{false};
std::atomic<bool> finished{false};

// The system ends the process this long after a closed console's event at the
// latest; the command gets nearly all of it to put its files in place.
constexpr DWORD kCloseGraceMillis = 4500;
constexpr DWORD kCloseWaitStepMillis = 10;

// Ctrl+C, Ctrl+Break and closing the console (or the session) end the command
// between ticks with what has arrived written. A close ends the process as
// soon as this returns, so it returns only once the command has finished.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    interrupted = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        for (DWORD waited = 0; !finished && waited < kCloseGraceMillis;
             waited += kCloseWaitStepMillis) {
            Sleep(kCloseWaitStepMillis);
        }
    }
    return TRUE;
}

std::string DevicePath(const std::string& name) { return "\\\\.\\" + name; }

// The open is tried again to learn why it failed the first time.
std::string WhyNotOpened(const std::string& path) {
    const HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port != INVALID_HANDLE_VALUE) {
        CloseHandle(port);
        return "it could not be opened";
    }
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return "it does not exist";
    if (code == ERROR_ACCESS_DENIED) {
        return "another program holds it (a running Velmora window, for example)";
    }
    return velmora::SystemMessage(code);
}

}  // namespace

namespace velmora {

int RunOnThisSystem(int argc, char** argv, CommandMain command) {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    Win32SerialPorts ports;
    Win32OutputFiles files;
    SteadyClock clock;
    Win32WallClock wallClock;
    CommandSystem system{ports,
                         files,
                         clock,
                         wallClock,
                         &Win32OutputFiles::StandardOutput,
                         DevicePath,
                         WhyNotOpened,
                         _isatty(_fileno(stderr)) != 0,
                         interrupted};
    const int status = command(argc, argv, system);
    finished = true;
    return status;
}

}  // namespace velmora
