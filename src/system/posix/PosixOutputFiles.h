#pragma once

#include <memory>
#include <string>

#include "system/OutputFiles.h"

namespace velmora {

// Output files on a POSIX file system: a new file gets mode 0666 less the
// umask, a replacement the mode (and, where the system lets us, the owner)
// of the file it replaces; its stand-in is ".NAME.velmora-XXXXXX" beside it.
class PosixOutputFiles final : public OutputFiles {
  public:
    std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error) override;
    // Standard output as a stream; finishing it leaves the descriptor open.
    static std::unique_ptr<OutputFile> StandardOutput();
};

}  // namespace velmora
