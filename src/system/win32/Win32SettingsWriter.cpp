#include "system/win32/Win32SettingsWriter.h"

#include <algorithm>

#include "system/win32/Win32OutputFiles.h"

namespace velmora {

Win32SettingsWriter::Win32SettingsWriter(HANDLE file) : file_(file) {}

Win32SettingsWriter::~Win32SettingsWriter() { CloseHandle(file_); }

bool Win32SettingsWriter::Write(const char* bytes, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n - done, MAXDWORD));
        DWORD written = 0;
        if (!WriteFile(file_, bytes + done, chunk, &written, nullptr) || written == 0) {
            failure_ = SystemMessage(GetLastError());
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace velmora
