#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "system/posix/PortDirectory.h"

namespace velmora {
namespace {

class ScopedRuntimeDir {
  public:
    ScopedRuntimeDir() {
        char pattern[] = "/tmp/velmora-rtXXXXXX";
        dir_ = mkdtemp(pattern);
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old) old_ = old, hadOld_ = true;
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    ~ScopedRuntimeDir() {
        if (hadOld_)
            setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(dir_);
    }
    const std::string& Path() const { return dir_; }

  private:
    std::string dir_, old_;
    bool hadOld_ = false;
};

TEST(PortDirectoryTest, LivesUnderTheRuntimeDirectoryAndIsPrivate) {
    ScopedRuntimeDir runtime;
    EXPECT_EQ(PortDirectory(), runtime.Path() + "/velmora/ports");
    ASSERT_TRUE(EnsurePortDirectory());
    struct stat info {};
    ASSERT_EQ(stat(PortDirectory().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(EnsurePortDirectory());  // again, when it exists
}

TEST(PortDirectoryTest, RefusesADirectoryOthersCanWriteTo) {
    ScopedRuntimeDir runtime;
    const std::string base = runtime.Path() + "/velmora";
    ASSERT_EQ(mkdir(base.c_str(), 0700), 0);
    ASSERT_EQ(chmod(base.c_str(), 0777), 0);
    EXPECT_FALSE(EnsurePortDirectory());
}

TEST(PortDirectoryTest, FallsBackToAPerUserDirectoryInTmp) {
    ScopedRuntimeDir runtime;
    setenv("XDG_RUNTIME_DIR", "", 1);
    EXPECT_EQ(PortDirectory(), "/tmp/velmora-" + std::to_string(getuid()) + "/ports");
}

}  // namespace
}  // namespace velmora
