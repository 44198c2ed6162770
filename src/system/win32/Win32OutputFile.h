#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "system/OutputFiles.h"

namespace velmora {

// One output on a Win32 handle, finished as its kind says: a created file or
// a replacement's stand-in is cut back (SetEndOfFile) and flushed, a
// replacement is then moved over its target (MoveFileExW), a stream is left
// as written.
class Win32OutputFile final : public OutputFile {
  public:
    // `path`: the created file or the stand-in; `target`: the file a
    // replacement is moved over. `owned`: the handle is closed at the end
    // (standard output's is not).
    Win32OutputFile(Kind kind, HANDLE file, std::wstring path, std::wstring target, bool owned);
    ~Win32OutputFile() override;
    Win32OutputFile(const Win32OutputFile&) = delete;
    Win32OutputFile& operator=(const Win32OutputFile&) = delete;

    Kind GetKind() const override { return kind_; }
    bool Write(const char* bytes, std::size_t n) override;
    bool Finish(std::uint64_t keep) override;
    const std::string& Error() const override { return error_; }
    const std::string& StandIn() const override { return standIn_; }

  private:
    bool Fail(DWORD code);
    bool CutBackAndClose(std::uint64_t keep);
    void Discard();

    Kind kind_;
    HANDLE file_;
    std::wstring path_;
    std::wstring target_;
    bool owned_;
    bool finished_ = false;
    std::uint64_t written_ = 0;
    std::string standIn_;  // the stand-in's path as a user reads it
    std::string error_;
};

}  // namespace velmora
