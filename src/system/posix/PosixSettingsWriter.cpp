#include "system/posix/PosixSettingsWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmora {

PosixSettingsWriter::PosixSettingsWriter(int fd) : fd_(fd) {}

PosixSettingsWriter::~PosixSettingsWriter() { close(fd_); }

bool PosixSettingsWriter::Write(const char* bytes, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = write(fd_, bytes + done, n - done);
        if (r > 0) {
            done += static_cast<std::size_t>(r);
        } else if (r == 0 || errno != EINTR) {
            failure_ = r == 0 ? "nothing could be written" : std::strerror(errno);
            return false;
        }
    }
    return true;
}

}  // namespace velmora
