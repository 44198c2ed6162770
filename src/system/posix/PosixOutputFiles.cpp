#include "system/posix/PosixOutputFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora {
namespace {

class PosixOutputFile final : public OutputFile {
  public:
    // `path` empty: a descriptor that is not ours to close or remove.
    PosixOutputFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixOutputFile() override { Close(); }

    bool Write(const char* bytes, std::size_t n) override {
        while (n > 0 && fd_ >= 0) {
            const ssize_t done = ::write(fd_, bytes, n);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) return Fail(done < 0 ? errno : ENOSPC);
            bytes += done;
            n -= static_cast<std::size_t>(done);
        }
        return !failed_;
    }

    bool Close() override {
        if (fd_ < 0) return !failed_;
        const int fd = fd_;
        fd_ = -1;
        if (!path_.empty() && ::close(fd) != 0 && errno != EINTR) Fail(errno);
        if (failed_ && !path_.empty()) ::unlink(path_.c_str());
        return !failed_;
    }

    const std::string& Error() const override { return error_; }

  private:
    bool Fail(int code) {
        if (!failed_) error_ = std::strerror(code);
        failed_ = true;
        return false;
    }

    int fd_;
    std::string path_;
    bool failed_ = false;
    std::string error_;
};

}  // namespace

std::unique_ptr<OutputFile> PosixOutputFiles::Create(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<PosixOutputFile>(fd, path);
}

std::unique_ptr<OutputFile> PosixOutputFiles::StandardOutput() {
    return std::make_unique<PosixOutputFile>(STDOUT_FILENO, std::string());
}

}  // namespace velmora
