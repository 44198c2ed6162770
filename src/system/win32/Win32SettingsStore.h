#pragma once

#include <memory>
#include <string>

#include "system/SettingsStore.h"

namespace velmora {

// The settings file through the Win32 file calls. A relative name is opened
// as ".\<name>", in the current directory, whatever the search path says.
// Both opens share nothing with anyone for as long as the reader or writer
// lives, so another program (or a second open here) cannot see a file half
// written. Bytes go through unchanged: no text-mode translation of CR LF.
class Win32SettingsStore final : public SettingsStore {
  public:
    // CreateFileA(GENERIC_READ, no sharing, OPEN_ALWAYS): a missing file is
    // created empty. Null when it is held elsewhere or cannot be opened.
    std::unique_ptr<SettingsReader> OpenForRead(const char* name) override;
    // CreateFileA(GENERIC_WRITE, no sharing, OPEN_ALWAYS), then truncated by
    // SetEndOfFile once the exclusive open has succeeded: a file another
    // process holds keeps its contents (CREATE_ALWAYS would not promise
    // that). Null on any failure.
    std::unique_ptr<SettingsWriter> OpenForWrite(const char* name) override;
    std::string LastFailure() const override { return lastFailure_; }
    // GetFullPathNameA of the name as it is opened.
    std::string PathOf(const char* name) const override;

  private:
    std::string lastFailure_;  // of the last OpenForWrite
};

}  // namespace velmora
