#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "system/posix/DocumentsFolder.h"
#include "system/posix/TempDirectory.h"

namespace velmora {
namespace {

// Sets (or with nullopt removes) a variable for the test's lifetime.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

struct FolderCase {
    const char* what;
    const char* variable;  // XDG_DOCUMENTS_DIR below the scratch folder, or null
    bool configHome;       // user-dirs.dirs in $XDG_CONFIG_HOME, not ~/.config
    const char* userDirs;  // its contents, or null for none
    const char* expected;  // below the scratch folder
};

// The scratch folder holds home/ with home/Papers, and elsewhere/.
const FolderCase kCases[] = {
    {"the variable", "elsewhere", false, "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n", "elsewhere"},
    {"user-dirs.dirs under ~/.config, among other lines", nullptr, false,
     "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
     "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n",
     "home/Papers"},
    {"user-dirs.dirs in $XDG_CONFIG_HOME, a path of its own", nullptr, true,
     "XDG_DOCUMENTS_DIR=\"@/elsewhere\"\n", "elsewhere"},
    {"a folder that is not there: home", nullptr, false, "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n",
     "home"},
    {"no such line", nullptr, false, "XDG_DOCUMENTS_DIRECTORY=\"$HOME/Papers\"\n", "home"},
    {"no file: home", nullptr, false, nullptr, "home"},
};

TEST(DocumentsFolderTest, TheXdgDocumentsFolderThatExistsElseHome) {
    for (const FolderCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const testing::TempDirectory scratch;
        std::filesystem::create_directories(scratch / "home/Papers");
        std::filesystem::create_directories(scratch / "elsewhere");
        const std::string config = c.configHome ? "config" : "home/.config";
        if (c.userDirs != nullptr) {
            std::string text = c.userDirs;
            const std::size_t at = text.find('@');  // the scratch folder
            if (at != std::string::npos) text.replace(at, 1, scratch.Path());
            scratch.WriteFile(config + "/user-dirs.dirs", text);
        }
        const ScopedVariable home("HOME", scratch / "home");
        const ScopedVariable configHome(
            "XDG_CONFIG_HOME",
            c.configHome ? std::optional<std::string>(scratch / config) : std::nullopt);
        const ScopedVariable variable(
            "XDG_DOCUMENTS_DIR",
            c.variable ? std::optional<std::string>(scratch / c.variable) : std::nullopt);
        EXPECT_EQ(DocumentsFolder(), scratch / c.expected);
    }
}

}  // namespace
}  // namespace velmora
