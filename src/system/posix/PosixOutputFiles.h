#pragma once

#include <memory>
#include <string>

#include "system/OutputFiles.h"

namespace velmora {

// Output files on a POSIX file system (mode 0666 less the umask).
class PosixOutputFiles final : public OutputFiles {
  public:
    std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error) override;
    // Standard output as an output file; closing it leaves the descriptor open.
    static std::unique_ptr<OutputFile> StandardOutput();
};

}  // namespace velmora
