#include "system/posix/PosixSettingsReader.h"

#include <unistd.h>

#include <cerrno>

namespace velmora {

PosixSettingsReader::PosixSettingsReader(int fd) : fd_(fd) {}

PosixSettingsReader::~PosixSettingsReader() { close(fd_); }

std::optional<uint8_t> PosixSettingsReader::ReadByte() {
    if (next_ == filled_ && !Refill()) {
        return std::nullopt;
    }
    return chunk_[next_++];
}

bool PosixSettingsReader::Refill() {
    if (ended_) {
        return false;
    }
    ssize_t r = -1;
    do {
        r = read(fd_, chunk_.data(), chunk_.size());
    } while (r < 0 && errno == EINTR);
    if (r <= 0) {
        ended_ = true;  // end of file, or an error that would only repeat
        return false;
    }
    next_ = 0;
    filled_ = static_cast<std::size_t>(r);
    return true;
}

}  // namespace velmora
