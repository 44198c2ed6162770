#include "system/posix/PosixOutputFile.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "system/posix/SameFile.h"

namespace velmora {

PosixOutputFile::PosixOutputFile(Kind kind, int fd, std::string path, std::string target,
                                 bool owned)
    : kind_(kind), fd_(fd), path_(std::move(path)), target_(std::move(target)), owned_(owned) {}

PosixOutputFile::~PosixOutputFile() {
    if (!finished_) Finish(0);
}

bool PosixOutputFile::Write(const char* bytes, std::size_t n) {
    if (fd_ < 0) return Fail(EBADF);
    while (n > 0) {
        const ssize_t done = ::write(fd_, bytes, n);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return Fail(done < 0 ? errno : ENOSPC);
        bytes += done;
        n -= static_cast<std::size_t>(done);
        written_ += static_cast<std::uint64_t>(done);
    }
    return true;
}

bool PosixOutputFile::Finish(std::uint64_t keep) {
    if (finished_) return true;
    finished_ = true;
    if (kind_ == Kind::Stream) {
        if (owned_ && ::close(fd_) != 0 && errno != EINTR) return Fail(errno);
        return true;
    }
    if (keep == 0) {
        Discard();
        return true;
    }
    if (!CutBackAndClose(std::min(keep, written_))) return false;
    if (kind_ == Kind::Replacement && std::rename(path_.c_str(), target_.c_str()) != 0) {
        return Fail(errno);
    }
    return true;
}

// Only the whole frames stay, and they are on the disk before a rename can
// make them the target: a crash never leaves an empty file in its place.
bool PosixOutputFile::CutBackAndClose(std::uint64_t keep) {
    bool ok = ::ftruncate(fd_, static_cast<off_t>(keep)) == 0 || Fail(errno);
    ok = ok && (::fsync(fd_) == 0 || Fail(errno));
    if (::close(fd_) != 0 && errno != EINTR && ok) ok = Fail(errno);
    fd_ = -1;
    return ok;
}

// Nothing whole to keep: the file this output made goes again (while its
// name still leads to it, not to a file put there since), and whatever the
// target held stays as it was.
void PosixOutputFile::Discard() {
    if (NamesOpenFile(fd_, path_)) ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

const std::string& PosixOutputFile::StandIn() const {
    static const std::string none;
    return kind_ == Kind::Replacement ? path_ : none;
}

bool PosixOutputFile::Fail(int code) {
    error_ = std::strerror(code);
    return false;
}

}  // namespace velmora
