#include "system/posix/PortDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmora {
namespace {

std::string BaseDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return std::string(runtime) + "/velmora";
    }
    return "/tmp/velmora-" + std::to_string(getuid());
}

bool MakeDirectory(const std::string& path, std::string* why) {
    std::string fault;
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        fault = "cannot create " + path + ": " + std::strerror(errno);
    } else {
        fault = PrivateDirectoryFault(path);
    }
    if (why != nullptr) *why = fault;
    return fault.empty();
}

}  // namespace

std::string PortDirectory() { return BaseDirectory() + "/ports"; }

std::string PrivateDirectoryFault(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) return path + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return path + " is not a directory";
    if (info.st_uid != getuid()) {
        return path + " is owned by uid " + std::to_string(info.st_uid) + ", not by uid " +
               std::to_string(getuid());
    }
    if ((info.st_mode & 0077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof(mode), "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return path + " is open to other users (mode " + mode + ")";
    }
    return "";
}

bool EnsurePortDirectory(std::string* why) {
    return MakeDirectory(BaseDirectory(), why) && MakeDirectory(PortDirectory(), why);
}

}  // namespace velmora
