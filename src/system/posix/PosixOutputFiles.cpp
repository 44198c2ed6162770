#include "system/posix/PosixOutputFiles.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "system/posix/PosixOutputFile.h"

namespace velmora {
namespace {

// As many links in a row as the system itself follows before giving up.
constexpr int kMaxLinks = 40;

using Kind = OutputFile::Kind;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (itself when it is none), so that
// a replacement is renamed over the file and not over the link.
bool FollowLinks(std::string& path) {
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), PATH_MAX);
        if (n < 0) return false;
        const std::string next(target.data(), static_cast<std::size_t>(n));
        path = next[0] == '/' ? next : FolderOf(path) + "/" + next;
    }
    errno = ELOOP;
    return false;
}

std::unique_ptr<OutputFile> Refused(std::string& error) {
    error = std::strerror(errno);
    return nullptr;
}

std::unique_ptr<OutputFile> CreateNew(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return Refused(error);
    return std::make_unique<PosixOutputFile>(Kind::Created, fd, path, std::string(), true);
}

// A stand-in beside `path` with its mode; the file itself is not touched.
std::unique_ptr<OutputFile> CreateStandIn(const std::string& path, const struct stat& info,
                                          std::string& error) {
    // The user's file stays read-only to us when it was (a rename would not ask).
    if (::access(path.c_str(), W_OK) != 0) return Refused(error);
    const std::size_t slash = path.find_last_of('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    std::string standIn = path.substr(0, name) + "." + path.substr(name) + ".velmora-XXXXXX";
    const int fd = ::mkostemp(standIn.data(), O_CLOEXEC);
    if (fd < 0) return Refused(error);
    if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
        // Only root may give a file away: the replacement is then the user's own.
    }
    if (::fchmod(fd, info.st_mode & 07777) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        ::unlink(standIn.c_str());
        return nullptr;
    }
    return std::make_unique<PosixOutputFile>(Kind::Replacement, fd, standIn, path, true);
}

// A device, pipe or terminal is written where it is; a terminal does not
// become the capture's controlling one.
std::unique_ptr<OutputFile> OpenStream(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Refused(error);
    return std::make_unique<PosixOutputFile>(Kind::Stream, fd, std::string(), std::string(), true);
}

}  // namespace

std::unique_ptr<OutputFile> PosixOutputFiles::Create(const std::string& path, std::string& error) {
    std::string file = path;
    if (!FollowLinks(file)) return Refused(error);
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return errno == ENOENT ? CreateNew(file, error) : Refused(error);
    }
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return Refused(error);
    }
    return S_ISREG(info.st_mode) ? CreateStandIn(file, info, error) : OpenStream(file, error);
}

std::unique_ptr<OutputFile> PosixOutputFiles::StandardOutput() {
    return std::make_unique<PosixOutputFile>(Kind::Stream, STDOUT_FILENO, std::string(),
                                             std::string(), false);
}

}  // namespace velmora
