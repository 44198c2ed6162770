#pragma once

#include <cstdio>
#include <string>

#include "instrument/Command.h"

namespace velmora {

// Appends every command the instrument understood, one line of text each
// ("z", "S 1 1 1024 0", "X 7", "Y 7", "G 0 1 1000 0.5"), and "?" for each
// fragment it rejected, to a file, so that a test of a program that cannot
// be looked into (the Windows build under Wine) can check what reached the
// line and in which order. Each line is flushed at once. Not thread-safe.
class CommandTrace {
  public:
    CommandTrace() = default;
    ~CommandTrace();
    CommandTrace(const CommandTrace&) = delete;
    CommandTrace& operator=(const CommandTrace&) = delete;

    // Opens `path` for appending; an empty path traces nothing. False when
    // the file cannot be opened.
    bool Open(const std::string& path);
    void Write(const Command& command);
    void WriteRejected();

    static std::string Text(const Command& command);

  private:
    void Line(const std::string& text);

    std::FILE* file_ = nullptr;
};

}  // namespace velmora
