#include "system/posix/PortLinkLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "system/posix/SameFile.h"

namespace velmora {
namespace {

constexpr mode_t kLockFileMode = 0600;

int OpenLockFile(const std::string& path, int flags) {
    int fd = -1;
    do {
        fd = open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kLockFileMode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

bool PortLinkLock::IsStale(const std::string& linkPath) {
    const int fd = OpenLockFile(PathFor(linkPath), O_RDONLY);
    if (fd < 0) return false;  // no lock file: a link of another kind
    const bool free = flock(fd, LOCK_SH | LOCK_NB) == 0;
    close(fd);  // lets go of the lock, if it was taken here
    return free;
}

bool PortLinkLock::Hold(const std::string& linkPath, bool& leftBehind) {
    Release();
    const std::string path = PathFor(linkPath);
    leftBehind = true;
    int fd = OpenLockFile(path, O_RDWR);
    if (fd < 0 && errno == ENOENT) {
        leftBehind = false;
        fd = OpenLockFile(path, O_RDWR | O_CREAT | O_EXCL);
    }
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

void PortLinkLock::Release() {
    if (fd_ < 0) return;
    if (NamesOpenFile(fd_, path_)) unlink(path_.c_str());
    close(fd_);
    fd_ = -1;
    path_.clear();
}

}  // namespace velmora
