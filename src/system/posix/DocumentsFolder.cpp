#include "system/posix/DocumentsFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace velmora {
namespace {

constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
constexpr std::string_view kHomeVariable = "$HOME";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (home.empty()) {
        const passwd* account = getpwuid(getuid());
        if (account != nullptr && account->pw_dir != nullptr) home = account->pw_dir;
    }
    return home;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The value of the documents line of user-dirs.dirs: XDG_DOCUMENTS_DIR="...",
// in which \ escapes the next character and "$HOME" at the start stands for
// the home folder. Empty without one.
std::string FromUserDirs(const std::string& home) {
    std::string config = Environment("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    std::ifstream file(config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, kKey.size(), kKey) != 0) continue;
        const std::size_t open = line.find('"', start + kKey.size());
        if (open == std::string::npos ||
            line.find_first_not_of(" \t=", start + kKey.size()) != open)
            continue;
        std::string value;
        for (std::size_t i = open + 1; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) ++i;
            value += line[i];
        }
        if (value.compare(0, kHomeVariable.size(), kHomeVariable) == 0) {
            value = home + value.substr(kHomeVariable.size());
        }
        return value;
    }
    return {};
}

}  // namespace

std::string DocumentsFolder() {
    const std::string home = HomeFolder();
    std::string documents = Environment("XDG_DOCUMENTS_DIR");
    if (documents.empty() && !home.empty()) documents = FromUserDirs(home);
    return IsFolder(documents) ? documents : home;
}

}  // namespace velmora
