#include "instrument/PtyService.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "system/posix/PortDirectory.h"

namespace velmora {
namespace {

constexpr int kMaxLinkNumber = 1000;

std::string ErrorText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool SetRaw(int fd) {
    termios mode{};
    if (tcgetattr(fd, &mode) != 0) return false;
    cfmakeraw(&mode);
    mode.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&mode, B115200);
    cfsetospeed(&mode, B115200);
    return tcsetattr(fd, TCSANOW, &mode) == 0;
}

bool PointsAt(const std::string& link, const std::string& target) {
    char buffer[256];
    const ssize_t size = readlink(link.c_str(), buffer, sizeof(buffer));
    return size > 0 && static_cast<std::size_t>(size) == target.size() &&
           target.compare(0, target.size(), buffer, static_cast<std::size_t>(size)) == 0;
}

bool IsLink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// A link whose target is gone (a pseudo-terminal of an instrument that died).
bool TargetGone(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

}  // namespace

PtyService::~PtyService() { Close(); }

bool PtyService::Open(const std::string& linkName, std::string& error) {
    Close();
    if (OpenPty(error) && Publish(linkName, error)) return true;
    Close();
    return false;
}

bool PtyService::OpenPty(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = ErrorText("posix_openpt");
        return false;
    }
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
        ptsname_r(master_, name, sizeof(name)) != 0) {
        error = ErrorText("pseudo-terminal set-up");
        return false;
    }
    slavePath_ = name;
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    slaveHold_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slaveHold_ < 0 || !SetRaw(slaveHold_)) {
        error = ErrorText(slavePath_.c_str());
        return false;
    }
    return true;
}

bool PtyService::Publish(const std::string& linkName, std::string& error) {
    std::string why;
    if (!EnsurePortDirectory(&why)) {
        error = "cannot use the port directory " + PortDirectory() + ": " + why;
        return false;
    }
    const std::string directory = PortDirectory() + "/";
    if (!linkName.empty()) {
        if (TryLink(directory + linkName)) return true;
        error = ErrorText(("cannot create link " + directory + linkName).c_str());
        return false;
    }
    for (int n = 0; n < kMaxLinkNumber; ++n) {
        if (TryLink(directory + "ttyVIRT" + std::to_string(n))) return true;
    }
    error = "no free link name ttyVIRT<n> in " + PortDirectory();
    return false;
}

// The name is taken with its lock first: a lock another instrument holds
// means the name is in use; a lock file that was left behind means the link
// beside it is stale (its instrument was killed) and goes. A link there
// without a lock file belongs to some other program and is left alone.
bool PtyService::TryLink(const std::string& path) {
    bool leftBehind = false;
    if (!lock_.Hold(path, leftBehind)) return false;
    if (symlink(slavePath_.c_str(), path.c_str()) != 0) {
        const bool taken = errno == EEXIST;
        if (!taken || !IsLink(path) || !(leftBehind || TargetGone(path)) ||
            unlink(path.c_str()) != 0 || symlink(slavePath_.c_str(), path.c_str()) != 0) {
            const int why = errno;
            lock_.Release();
            errno = why;
            return false;
        }
    }
    linkPath_ = path;
    return true;
}

void PtyService::Close() {
    if (!linkPath_.empty() && PointsAt(linkPath_, slavePath_)) unlink(linkPath_.c_str());
    lock_.Release();
    linkPath_.clear();
    if (slaveHold_ >= 0) close(slaveHold_);
    if (master_ >= 0) close(master_);
    slaveHold_ = -1;
    master_ = -1;
    slavePath_.clear();
}

}  // namespace velmora
