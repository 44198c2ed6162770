#pragma once

#include <map>
#include <memory>
#include <string>

#include "system/OutputFiles.h"
#include "system/WallClock.h"

namespace velmora::test {

// Output files in memory; a path in `refused` cannot be created. A file's
// bytes appear in `files` when it is finished, as a replacement's would.
class FakeOutputFiles final : public OutputFiles {
  public:
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> refused;  // path -> the system's reason

    std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error) override {
        if (auto it = refused.find(path); it != refused.end()) {
            error = it->second;
            return nullptr;
        }
        const Kind kind = files.count(path) != 0 ? Kind::Replacement : Kind::Created;
        return std::make_unique<File>(files, path, kind);
    }

  private:
    using Kind = OutputFile::Kind;
    class File final : public OutputFile {
      public:
        File(std::map<std::string, std::string>& files, std::string path, Kind kind)
            : files_(files), path_(std::move(path)), kind_(kind) {}
        Kind GetKind() const override { return kind_; }
        bool Write(const char* bytes, std::size_t n) override {
            bytes_.append(bytes, n);
            return true;
        }
        bool Finish(std::uint64_t keep) override {
            if (keep > 0) files_[path_] = bytes_.substr(0, keep);
            return true;
        }
        const std::string& Error() const override { return error_; }
        const std::string& StandIn() const override { return error_; }

      private:
        std::map<std::string, std::string>& files_;
        std::string path_;
        Kind kind_;
        std::string bytes_;
        std::string error_;
    };
};

// A calendar that stands still.
class FixedWallClock final : public WallClock {
  public:
    LocalTime now{2026, 12, 9, 15, 4, 5, 60};
    LocalTime Now() override { return now; }
};

}  // namespace velmora::test
