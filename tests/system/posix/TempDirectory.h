#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace velmora::testing {

// A fresh directory under /tmp, removed with everything in it at the end.
class TempDirectory {
  public:
    TempDirectory() {
        char pattern[] = "/tmp/velmora-posix-test-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Creates a file (and its parent directories) with the given contents.
    void WriteFile(const std::string& name, const std::string& contents) const {
        const std::filesystem::path file = path_ + "/" + name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << contents;
    }

    std::string ReadFile(const std::string& name) const {
        std::ifstream in(path_ + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::string path_;
};

}  // namespace velmora::testing
