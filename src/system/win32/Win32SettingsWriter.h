#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "system/SettingsStore.h"

namespace velmora {

// Writer over a settings file opened without sharing and truncated. Owns the
// handle; closing it lets others open the file again.
class Win32SettingsWriter final : public SettingsWriter {
  public:
    explicit Win32SettingsWriter(HANDLE file);
    ~Win32SettingsWriter() override;
    Win32SettingsWriter(const Win32SettingsWriter&) = delete;
    Win32SettingsWriter& operator=(const Win32SettingsWriter&) = delete;

    // WriteFile until all n bytes are written; false when the file system
    // refuses (disk full, I/O error).
    bool Write(const char* bytes, std::size_t n) override;
    std::string Failure() const override { return failure_; }

  private:
    HANDLE file_;
    std::string failure_;
};

}  // namespace velmora
