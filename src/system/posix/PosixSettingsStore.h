#pragma once

#include <memory>
#include <string>

#include "system/SettingsStore.h"

namespace velmora {

// The settings file on a POSIX file system. Each open takes an exclusive
// flock (non-blocking) for as long as the reader or writer lives, so a second
// open, by another process or by this one, fails instead of seeing a file
// half written. flock is advisory: programs that do not lock are not stopped.
class PosixSettingsStore final : public SettingsStore {
  public:
    // Opens `name` (relative to the current directory, or absolute) for
    // reading, creating it empty (mode 0666 less the umask) when missing.
    // Null when it cannot be opened or created, or another open holds it.
    std::unique_ptr<SettingsReader> OpenForRead(const char* name) override;
    // Opens for writing and truncates, but only once the lock is held, so a
    // file held by someone else keeps its contents. Null on any failure
    // (including a directory that cannot be written).
    std::unique_ptr<SettingsWriter> OpenForWrite(const char* name) override;
    std::string LastFailure() const override { return lastFailure_; }
    // Relative names from the current directory.
    std::string PathOf(const char* name) const override;

  private:
    std::string lastFailure_;  // of the last OpenForWrite
};

}  // namespace velmora
