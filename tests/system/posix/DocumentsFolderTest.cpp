#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "system/posix/DocumentsFolder.h"
#include "system/posix/TempDirectory.h"

namespace velmora {
namespace {

struct FolderCase {
    const char* what;
    const char* variable;  // XDG_DOCUMENTS_DIR, below the scratch folder
    const char* file;      // where user-dirs.dirs is, below it ($XDG_CONFIG_HOME unless .config)
    const char* userDirs;  // its contents; @ is the scratch folder
    const char* expected;  // below the scratch folder
};

// The scratch folder holds home/ with home/Papers, and elsewhere/.
const FolderCase kCases[] = {
    {"the variable first", "elsewhere", "home/.config", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n",
     "elsewhere"},
    {"~/.config/user-dirs.dirs, among other lines", nullptr, "home/.config",
     "# xdg-user-dirs\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n",
     "home/Papers"},
    {"$XDG_CONFIG_HOME's, a path of its own", nullptr, "config",
     "XDG_DOCUMENTS_DIR=\"@/elsewhere\"\n", "elsewhere"},
    {"a folder that is not there", nullptr, "home/.config", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n",
     "home"},
    {"no file", nullptr, "config", nullptr, "home"},
};

TEST(DocumentsFolderTest, TheXdgDocumentsFolderThatExistsElseHome) {
    const char* const names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"};
    std::string saved[3];
    for (int i = 0; i < 3; ++i) saved[i] = std::getenv(names[i]) ? std::getenv(names[i]) : "";
    for (const FolderCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const testing::TempDirectory scratch;
        std::filesystem::create_directories(scratch / "home/Papers");
        std::filesystem::create_directories(scratch / "elsewhere");
        std::string text = c.userDirs != nullptr ? c.userDirs : "";
        if (text.find('@') != std::string::npos) text.replace(text.find('@'), 1, scratch.Path());
        if (c.userDirs != nullptr) scratch.WriteFile(std::string(c.file) + "/user-dirs.dirs", text);
        setenv("HOME", (scratch / "home").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (scratch / c.file).c_str(), 1);
        if (std::string(c.file) == "home/.config") unsetenv("XDG_CONFIG_HOME");
        if (c.variable != nullptr) setenv("XDG_DOCUMENTS_DIR", (scratch / c.variable).c_str(), 1);
        if (c.variable == nullptr) unsetenv("XDG_DOCUMENTS_DIR");
        EXPECT_EQ(DocumentsFolder(), scratch / c.expected);
    }
    for (int i = 0; i < 3; ++i) {
        if (saved[i].empty()) unsetenv(names[i]);
        if (!saved[i].empty()) setenv(names[i], saved[i].c_str(), 1);
    }
}

}  // namespace
}  // namespace velmora
