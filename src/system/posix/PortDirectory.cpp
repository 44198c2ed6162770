#include "system/posix/PortDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace velmora {
namespace {

std::string BaseDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return std::string(runtime) + "/velmora";
    }
    return "/tmp/velmora-" + std::to_string(getuid());
}

// The directory must be ours and closed to others: in the shared /tmp another
// user could otherwise create it first and plant links to devices of theirs.
bool MakeDirectory(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    return info.st_uid == getuid() && (info.st_mode & 0077) == 0;
}

}  // namespace

std::string PortDirectory() { return BaseDirectory() + "/ports"; }

bool EnsurePortDirectory() {
    return MakeDirectory(BaseDirectory()) && MakeDirectory(PortDirectory());
}

}  // namespace velmora
