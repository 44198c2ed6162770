#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

// A file being written for other programs (CSV, PNG). Writes go straight to
// the system. What the target ends up holding is decided once, by Finish:
// a file is never left looking complete with a frame cut in half, and an
// existing file is never lost to a capture that failed.
class OutputFile {
  public:
    // How the output stands to the path the user chose.
    enum class Kind {
        Created,      // the path did not exist: written in place (a log can be followed)
        Replacement,  // an existing file: written beside it, renamed over it at the end
        Stream,       // standard output, a pipe, a terminal, a device: written in place
    };

    // An output destroyed unfinished is finished with nothing kept.
    virtual ~OutputFile() = default;
    virtual Kind GetKind() const = 0;
    // Writes all n bytes; false when the system refused (Error() says why).
    virtual bool Write(const char* bytes, std::size_t n) = 0;
    // Ends the output with its first `keep` bytes (whole frames or rows). A
    // created file is cut back to them and removed when `keep` is 0; a
    // replacement is cut back and renamed over its target, or removed with
    // the target untouched when `keep` is 0; a stream keeps what it was sent
    // and is never cut, renamed or removed. False when the system refused
    // then: Error() says why, and a replacement that could not be renamed
    // stays at StandIn(). Call it once.
    virtual bool Finish(std::uint64_t keep) = 0;
    // The system's reason for the last failure, in words.
    virtual const std::string& Error() const = 0;
    // Where a replacement is written until it is renamed; "" for the others.
    virtual const std::string& StandIn() const = 0;
};

// Creates outputs by path (UTF-8; relative to the current directory or
// absolute). A symbolic link is followed to the file it names.
class OutputFiles {
  public:
    virtual ~OutputFiles() = default;
    // Prepares `path` for writing without changing a byte of what is there:
    // a missing file is created empty, an existing file gets a temporary
    // stand-in beside it with the same mode, anything else (a device, a
    // pipe) is opened as it is. Null when it cannot be written, with the
    // system's reason in `error`.
    virtual std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error) = 0;
};

}  // namespace velmora
