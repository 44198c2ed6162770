#pragma once

#include <cstddef>
#include <string>

#include "system/SettingsStore.h"

namespace velmora {

// Writer over an open, locked and truncated settings file. Owns the
// descriptor; closing it releases the lock.
class PosixSettingsWriter final : public SettingsWriter {
  public:
    explicit PosixSettingsWriter(int fd);
    ~PosixSettingsWriter() override;
    PosixSettingsWriter(const PosixSettingsWriter&) = delete;
    PosixSettingsWriter& operator=(const PosixSettingsWriter&) = delete;

    // Writes all n bytes (partial writes and EINTR are retried); false when
    // the file system refuses (disk full, I/O error).
    bool Write(const char* bytes, std::size_t n) override;
    std::string Failure() const override { return failure_; }

  private:
    int fd_;
    std::string failure_;
};

}  // namespace velmora
