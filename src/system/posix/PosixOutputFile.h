#pragma once

#include <cstdint>
#include <string>

#include "system/OutputFiles.h"

namespace velmora {

// One output on a POSIX descriptor, finished as its kind says: a created
// file or a replacement's stand-in is cut back with ftruncate and synced, a
// replacement is then renamed over its target, a stream is left as written.
class PosixOutputFile final : public OutputFile {
  public:
    // `path`: the created file or the stand-in; `target`: the file a
    // replacement is renamed over. `owned`: the descriptor is closed at the
    // end (standard output's is not).
    PosixOutputFile(Kind kind, int fd, std::string path, std::string target, bool owned);
    ~PosixOutputFile() override;
    PosixOutputFile(const PosixOutputFile&) = delete;
    PosixOutputFile& operator=(const PosixOutputFile&) = delete;

    Kind GetKind() const override { return kind_; }
    bool Write(const char* bytes, std::size_t n) override;
    bool Finish(std::uint64_t keep) override;
    const std::string& Error() const override { return error_; }
    const std::string& StandIn() const override;

  private:
    bool Fail(int code);
    bool CutBackAndClose(std::uint64_t keep);
    void Discard();

    Kind kind_;
    int fd_;
    std::string path_;
    std::string target_;
    bool owned_;
    bool finished_ = false;
    std::uint64_t written_ = 0;
    std::string error_;
};

}  // namespace velmora
