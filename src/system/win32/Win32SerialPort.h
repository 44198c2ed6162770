#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "system/SerialPort.h"

namespace velmora {

// A COM port through the Win32 serial API, with synchronous (not overlapped)
// I/O: every call returns within the port's time-outs.
//
// Open is exclusive (no sharing), so a port another program holds fails with
// an error other than "file not found". The DCB read by GetState is kept, and
// SetState changes on top of it the fields LineSettings names and the flag
// bits that make the line binary (ApplyLineSettings), so every other field
// reaches SetCommState as the driver reported it.
class Win32SerialPort final : public SerialPort {
  public:
    // CreateFileA(path, GENERIC_READ | GENERIC_WRITE, no sharing, no security
    // attributes, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, no template).
    // ERROR_FILE_NOT_FOUND (2) is DoesNotExist; ERROR_ACCESS_DENIED and
    // ERROR_SHARING_VIOLATION (a port in use) are Busy; every other failure
    // is OtherError, with the system's message in `why` (when given). A
    // handle that is no character device (GetFileType) or reports no serial
    // state (GetCommState) is closed untouched as NotSerialPort.
    static OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port,
                            std::string* why = nullptr);

    ~Win32SerialPort() override;  // CloseHandle
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    // GetCommState on a zeroed DCB with DCBlength 28; the DCB is kept.
    bool GetState(LineSettings& settings) override;
    // SetCommState with the kept DCB changed as ApplyLineSettings says (read
    // first when GetState has not run); the DCB the driver took is kept.
    bool SetState(const LineSettings& settings) override;
    // SetCommTimeouts, field for field, with the write bound of
    // CommTimeoutsFor when no write time-out is asked for.
    bool SetTimeouts(const PortTimeouts& timeouts) override;
    // ClearCommError without error word or status: with fAbortOnError set, a
    // line error fails every read and write until it is cleared.
    void ClearError() override;

    // ReadFile under the installed COMMTIMEOUTS; the count starts at 0, so a
    // failed read (line error, port gone) delivers nothing. A line error
    // (ERROR_OPERATION_ABORTED) is cleared at once; the errors of a device
    // that went away (see Gone) mark the port gone.
    std::size_t Read(uint8_t* dst, std::size_t n) override;
    // WriteFile; true only when all n bytes went out. A write the line cannot
    // take ends at the write time-out with fewer bytes. Failures as Read's.
    bool Write(const uint8_t* src, std::size_t n) override;
    // ReadFile, WriteFile or ClearCommError failed with ERROR_ACCESS_DENIED,
    // ERROR_BAD_COMMAND, ERROR_DEVICE_REMOVED, ERROR_GEN_FAILURE or
    // ERROR_NOT_READY.
    bool Gone() const override { return gone_; }
    // The error code of the last failed call (0 while none failed).
    DWORD LastFailure() const { return lastFailure_; }

  private:
    explicit Win32SerialPort(HANDLE handle);

    bool ReadState();
    void NoteFailure(DWORD error);

    HANDLE handle_;
    DCB dcb_{};
    bool haveState_ = false;
    bool gone_ = false;
    DWORD lastFailure_ = 0;
};

}  // namespace velmora
