#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "system/SettingsStore.h"

namespace velmora {

// Byte reader over an open, locked settings file. Reads the file in chunks
// and hands out one byte per call. Owns the descriptor; closing it releases
// the lock.
class PosixSettingsReader final : public SettingsReader {
  public:
    static constexpr std::size_t kChunkSize = 4096;

    explicit PosixSettingsReader(int fd);
    ~PosixSettingsReader() override;
    PosixSettingsReader(const PosixSettingsReader&) = delete;
    PosixSettingsReader& operator=(const PosixSettingsReader&) = delete;

    // The next byte; nothing at the end of the file or after a read error.
    std::optional<uint8_t> ReadByte() override;

  private:
    bool Refill();

    int fd_;
    std::array<uint8_t, kChunkSize> chunk_{};
    std::size_t next_ = 0;
    std::size_t filled_ = 0;
    bool ended_ = false;
};

}  // namespace velmora
