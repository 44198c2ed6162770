#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace velmora {

// A file being written for other programs (CSV, PNG). Writes go straight to
// the system, so what was written before an interruption is in the file.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    // Writes all n bytes; false when the system refused (Error() says why).
    virtual bool Write(const char* bytes, std::size_t n) = 0;
    // Closes the file; false when the system reports a failure then. A file
    // whose write or close failed is removed, so that no truncated file is
    // left looking complete.
    virtual bool Close() = 0;
    // The system's reason for the last failure, in words.
    virtual const std::string& Error() const = 0;
};

// Creates files by path (UTF-8; relative to the current directory or absolute).
class OutputFiles {
  public:
    virtual ~OutputFiles() = default;
    // Creates or truncates `path`. Null when it cannot be written, with the
    // system's reason in `error`.
    virtual std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error) = 0;
};

}  // namespace velmora
