#include "system/win32/Win32SettingsReader.h"

namespace velmora {

Win32SettingsReader::Win32SettingsReader(HANDLE file) : file_(file) {}

Win32SettingsReader::~Win32SettingsReader() { CloseHandle(file_); }

std::optional<uint8_t> Win32SettingsReader::ReadByte() {
    if (next_ == filled_ && !Refill()) return std::nullopt;
    return chunk_[next_++];
}

bool Win32SettingsReader::Refill() {
    if (ended_) return false;
    DWORD got = 0;
    if (!ReadFile(file_, chunk_.data(), static_cast<DWORD>(chunk_.size()), &got, nullptr) ||
        got == 0) {
        ended_ = true;  // end of file, or an error that would only repeat
        return false;
    }
    next_ = 0;
    filled_ = got;
    return true;
}

}  // namespace velmora
