#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "system/OutputFiles.h"

namespace velmora {

// One output of a command-line program: a file, or standard output for "-".
// Text goes to the system as it is written; Finish ends it at the last point
// marked whole (a frame, a row), so a file never ends with half of one.
class CommandOutput {
  public:
    using StandardOutput = std::function<std::unique_ptr<OutputFile>()>;

    // Prepares `path` (nothing for an empty one) without changing a byte of
    // an existing file. False with "cannot write PATH: REASON" in `error`.
    bool Open(const std::string& path, OutputFiles& files, const StandardOutput& standardOutput,
              std::string& error);
    bool IsOpen() const { return file_ != nullptr; }
    // A file the user can find again (not standard output, a pipe or a device).
    bool IsFile() const { return isFile_; }
    const std::string& Name() const { return name_; }

    // False with "cannot write PATH: REASON" in `error`.
    bool Write(const std::string& text, std::string& error);
    // Everything written so far is whole.
    void MarkWhole() { whole_ = written_; }
    // Ends the output at the last mark; "" or the one line that says why it
    // could not be put in place (`held` says what its stand-in then holds:
    // "its 3 complete frames are").
    std::string Finish(const std::string& held);

  private:
    std::unique_ptr<OutputFile> file_;
    std::string name_;
    bool isFile_ = false;
    std::uint64_t written_ = 0;  // bytes the system took
    std::uint64_t whole_ = 0;    // bytes up to the last mark
};

}  // namespace velmora
