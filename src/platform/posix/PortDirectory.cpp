#include "platform/posix/PortDirectory.h"

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

bool MakeDirectory(const std::string& path) {
    if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) {
        struct stat info{};
        return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    return false;
}

}  // namespace

std::string PortDirectory() { return BaseDirectory() + "/ports"; }

bool EnsurePortDirectory() { return MakeDirectory(BaseDirectory()) && MakeDirectory(PortDirectory()); }

}  // namespace velmora
