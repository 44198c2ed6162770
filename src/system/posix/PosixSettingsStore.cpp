#include "system/posix/PosixSettingsStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "system/posix/PosixSettingsReader.h"
#include "system/posix/PosixSettingsWriter.h"

namespace velmora {
namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

// Opens and locks; -1 when either fails (the descriptor is closed then, and
// `why` says what failed).
int OpenLocked(const char* name, int flags, std::string& why) {
    int fd = -1;
    do {
        fd = open(name, flags | O_CREAT | O_CLOEXEC, kNewFileMode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        why = std::strerror(errno);
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        why = errno == EWOULDBLOCK ? "another program has it open" : std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string PosixSettingsStore::PathOf(const char* name) const {
    if (name[0] == '/') return name;
    char folder[PATH_MAX];
    return getcwd(folder, sizeof folder) != nullptr ? std::string(folder) + "/" + name : name;
}

std::unique_ptr<SettingsReader> PosixSettingsStore::OpenForRead(const char* name) {
    std::string why;
    const int fd = OpenLocked(name, O_RDONLY, why);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<PosixSettingsReader>(fd);
}

std::unique_ptr<SettingsWriter> PosixSettingsStore::OpenForWrite(const char* name) {
    // No O_TRUNC: truncating before the lock is ours would wipe a file that
    // another process is still reading or writing.
    const int fd = OpenLocked(name, O_WRONLY, lastFailure_);
    if (fd < 0) {
        return nullptr;
    }
    if (ftruncate(fd, 0) != 0) {
        lastFailure_ = std::strerror(errno);
        close(fd);
        return nullptr;
    }
    return std::make_unique<PosixSettingsWriter>(fd);
}

}  // namespace velmora
