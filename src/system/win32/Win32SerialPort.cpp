#include "system/win32/Win32SerialPort.h"

#include <algorithm>

#include "system/win32/Win32LineSettings.h"
#include "system/win32/Win32OutputFiles.h"

namespace velmora {
namespace {

// ReadFile and WriteFile take a 32-bit count; the link never comes near it.
DWORD CountFor(std::size_t n) { return static_cast<DWORD>(std::min<std::size_t>(n, MAXDWORD)); }

// Another program holding the port gives ACCESS_DENIED on Windows (and
// SHARING_VIOLATION under Wine); permission as such is not asked for COM
// ports there.
OpenOutcome OutcomeOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return OpenOutcome::DoesNotExist;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return OpenOutcome::Busy;
        default:
            return OpenOutcome::OtherError;
    }
}

// Only a character device that reports a serial state is ever written to: a
// DOS device name can lead to a file or a printer.
bool IsSerialDevice(HANDLE handle) {
    DCB dcb{};
    dcb.DCBlength = kDcbLength;
    return GetFileType(handle) == FILE_TYPE_CHAR && GetCommState(handle, &dcb) != 0;
}

// What the port's calls answer once the device is no longer there: a USB
// adapter pulled (DEVICE_REMOVED, GEN_FAILURE, BAD_COMMAND, and
// ACCESS_DENIED from a handle whose device went) or, under Wine, a serial
// line whose far end closed (NOT_READY, EIO there). OPERATION_ABORTED is not
// among them: it is a line error under fAbortOnError, cleared with
// ClearCommError.
bool MeansGone(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_BAD_COMMAND:
        case ERROR_DEVICE_REMOVED:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
            return true;
        default:
            return false;
    }
}

}  // namespace

OpenOutcome Win32SerialPort::Open(const char* path, std::unique_ptr<SerialPort>& port,
                                  std::string* why) {
    port.reset();
    const HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (why != nullptr) *why = SystemMessage(error);
        return OutcomeOf(error);
    }
    if (!IsSerialDevice(handle)) {
        CloseHandle(handle);
        return OpenOutcome::NotSerialPort;
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

void Win32SerialPort::ClearError() {
    if (!ClearCommError(handle_, nullptr, nullptr)) NoteFailure(GetLastError());
}

// A failed call says why: the device is gone, or a line error stopped the
// port (fAbortOnError), which is cleared so that the next call works again.
void Win32SerialPort::NoteFailure(DWORD error) {
    lastFailure_ = error;
    if (MeansGone(error)) {
        gone_ = true;
    } else if (error == ERROR_OPERATION_ABORTED && !ClearCommError(handle_, nullptr, nullptr)) {
        lastFailure_ = GetLastError();
        gone_ = gone_ || MeansGone(lastFailure_);
    }
}

std::size_t Win32SerialPort::Read(uint8_t* dst, std::size_t n) {
    DWORD got = 0;
    if (!ReadFile(handle_, dst, CountFor(n), &got, nullptr)) NoteFailure(GetLastError());
    return got;
}

bool Win32SerialPort::Write(const uint8_t* src, std::size_t n) {
    DWORD written = 0;
    const DWORD count = CountFor(n);
    if (!WriteFile(handle_, src, count, &written, nullptr)) {
        NoteFailure(GetLastError());
        return false;
    }
    return written == count && count == n;
}

}  // namespace velmora
