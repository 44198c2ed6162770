#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "system/SettingsStore.h"

namespace velmora {

// Byte reader over a settings file opened without sharing. Reads the file
// with ReadFile in chunks and hands out one byte per call. Owns the handle;
// closing it lets others open the file again.
class Win32SettingsReader final : public SettingsReader {
  public:
    static constexpr std::size_t kChunkSize = 4096;

    explicit Win32SettingsReader(HANDLE file);
    ~Win32SettingsReader() override;
    Win32SettingsReader(const Win32SettingsReader&) = delete;
    Win32SettingsReader& operator=(const Win32SettingsReader&) = delete;

    // The next byte; nothing at the end of the file or after a read error.
    std::optional<uint8_t> ReadByte() override;

  private:
    bool Refill();

    HANDLE file_;
    std::array<uint8_t, kChunkSize> chunk_{};
    std::size_t next_ = 0;
    std::size_t filled_ = 0;
    bool ended_ = false;
};

}  // namespace velmora
