// velmora-capture.exe on Windows: the Win32 ports and files, Ctrl+C.
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "cli/CaptureCommand.h"
#include "system/win32/Win32OutputFiles.h"
#include "system/win32/Win32SerialPorts.h"
#include "system/win32/Win32WallClock.h"

namespace {

std::atomic<bool> interrupted{false};

// Ctrl+C, Ctrl+Break and closing the console end the capture between ticks
// with what has arrived written.
BOOL WINAPI OnConsoleEvent(DWORD) {
    interrupted = true;
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

int main(int argc, char** argv) {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    velmora::Win32SerialPorts ports;
    velmora::Win32OutputFiles files;
    velmora::SteadyClock clock;
    velmora::Win32WallClock wallClock;
    velmora::CaptureSystem system{ports,
                                  files,
                                  clock,
                                  wallClock,
                                  &velmora::Win32OutputFiles::StandardOutput,
                                  DevicePath,
                                  WhyNotOpened,
                                  _isatty(_fileno(stderr)) != 0,
                                  interrupted};
    return velmora::RunCaptureCommand(argc, argv, system);
}
