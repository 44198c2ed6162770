#include "system/win32/Win32SerialPort.h"

#include <algorithm>

#include "system/win32/Win32LineSettings.h"

namespace velmora {
namespace {

// ReadFile and WriteFile take a 32-bit count; the link never comes near it.
DWORD CountFor(std::size_t n) { return static_cast<DWORD>(std::min<std::size_t>(n, MAXDWORD)); }

}  // namespace

OpenOutcome Win32SerialPort::Open(const char* path, std::unique_ptr<SerialPort>& port) {
    port.reset();
    const HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND ? OpenOutcome::DoesNotExist
                                                      : OpenOutcome::OtherError;
    }
    port.reset(new Win32SerialPort(handle));
    return OpenOutcome::Opened;
}

Win32SerialPort::Win32SerialPort(HANDLE handle) : handle_(handle) {}

Win32SerialPort::~Win32SerialPort() { CloseHandle(handle_); }

bool Win32SerialPort::ReadState() {
    DCB dcb{};
    dcb.DCBlength = kDcbLength;
    if (!GetCommState(handle_, &dcb)) return false;
    dcb_ = dcb;
    haveState_ = true;
    return true;
}

bool Win32SerialPort::GetState(LineSettings& settings) {
    if (!ReadState()) return false;
    ReadLineSettings(dcb_, settings);
    return true;
}

bool Win32SerialPort::SetState(const LineSettings& settings) {
    if (!haveState_ && !ReadState()) return false;
    DCB dcb = dcb_;
    ApplyLineSettings(settings, dcb);
    if (!SetCommState(handle_, &dcb)) return false;
    dcb_ = dcb;
    return true;
}

bool Win32SerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    COMMTIMEOUTS commTimeouts = CommTimeoutsFor(timeouts);
    return SetCommTimeouts(handle_, &commTimeouts) != 0;
}

void Win32SerialPort::ClearError() { ClearCommError(handle_, nullptr, nullptr); }

std::size_t Win32SerialPort::Read(uint8_t* dst, std::size_t n) {
    DWORD got = 0;
    ReadFile(handle_, dst, CountFor(n), &got, nullptr);
    return got;
}

bool Win32SerialPort::Write(const uint8_t* src, std::size_t n) {
    DWORD written = 0;
    const DWORD count = CountFor(n);
    return WriteFile(handle_, src, count, &written, nullptr) != 0 && written == count && count == n;
}

}  // namespace velmora
