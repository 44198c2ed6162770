#pragma once

#include <memory>
#include <string>

#include "system/OutputFiles.h"

namespace velmora {

// Output files on Windows, by UTF-8 path (converted to the system's UTF-16,
// so every name a save dialog can return works). A replacement's stand-in is
// "NAME.velmora-PID-N.tmp" beside the file it replaces, with its hidden,
// system and archive attributes.
class Win32OutputFiles final : public OutputFiles {
  public:
    std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error) override;
    // Standard output as a stream; finishing it leaves the handle open.
    static std::unique_ptr<OutputFile> StandardOutput();
};

// UTF-8 <-> UTF-16 for the wide Win32 calls; invalid input gives "".
std::wstring WidenUtf8(const std::string& text);
std::string NarrowToUtf8(const std::wstring& text);
// The system's message for an error code, in UTF-8, without the line end.
std::string SystemMessage(unsigned long code);

}  // namespace velmora
