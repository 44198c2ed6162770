#pragma once

#include <map>
#include <memory>
#include <string>

#include "system/OutputFiles.h"
#include "system/WallClock.h"

namespace velmora::test {

// Output files in memory; a path in `refused` cannot be created.
class FakeOutputFiles final : public OutputFiles {
  public:
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> refused;  // path -> the system's reason

    std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error) override {
        if (auto it = refused.find(path); it != refused.end()) {
            error = it->second;
            return nullptr;
        }
        files[path].clear();
        return std::make_unique<File>(files[path]);
    }

  private:
    class File final : public OutputFile {
      public:
        explicit File(std::string& bytes) : bytes_(bytes) {}
        bool Write(const char* bytes, std::size_t n) override {
            bytes_.append(bytes, n);
            return true;
        }
        bool Close() override { return true; }
        const std::string& Error() const override { return error_; }

      private:
        std::string& bytes_;
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
