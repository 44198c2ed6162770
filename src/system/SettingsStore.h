#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

// A settings file held open exclusively for reading.
class SettingsReader {
  public:
    virtual ~SettingsReader() = default;
    // The next byte, or nothing at the end of the file (or on a read error).
    virtual std::optional<uint8_t> ReadByte() = 0;
};

// A settings file held open exclusively for writing (created or truncated).
class SettingsWriter {
  public:
    virtual ~SettingsWriter() = default;
    // Writes the bytes; false when the file system refuses them.
    virtual bool Write(const char* bytes, std::size_t n) = 0;
    // The system's words for the last failed Write.
    virtual std::string Failure() const { return "the data could not be written"; }
};

// Opens the settings file by its relative name in the current directory.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Opens for reading, creating the file empty when it is missing. Null when
    // the file is held by another process or cannot be opened or created.
    virtual std::unique_ptr<SettingsReader> OpenForRead(const char* name) = 0;
    // Creates or truncates for writing. Null when that is not possible.
    virtual std::unique_ptr<SettingsWriter> OpenForWrite(const char* name) = 0;
    // The system's words for why the last OpenForWrite gave null.
    virtual std::string LastFailure() const { return "it could not be opened for writing"; }
    // The file's full path, as an error message names it.
    virtual std::string PathOf(const char* name) const { return name; }
};

}  // namespace velmora
