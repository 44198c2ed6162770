#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::testing {

// A pseudo-terminal: the test holds the master side and plays the device;
// the code under test opens the slave by its path.
class PtyPair {
  public:
    PtyPair() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0 &&
            ptsname_r(master_, name, sizeof name) == 0) {
            slavePath_ = name;
        }
    }
    ~PtyPair() { CloseMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ok() const { return master_ >= 0 && !slavePath_.empty(); }
    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

    void CloseMaster() {
        if (master_ >= 0) {
            close(master_);
            master_ = -1;
        }
    }

    bool Send(const std::vector<uint8_t>& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t r = write(master_, bytes.data() + done, bytes.size() - done);
            if (r <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(r);
        }
        return true;
    }

    // Collects up to n bytes, giving up after `quietMs` without any.
    std::vector<uint8_t> Receive(std::size_t n, int quietMs = 500) const {
        std::vector<uint8_t> bytes;
        uint8_t chunk[4096];
        while (bytes.size() < n) {
            pollfd entry{master_, POLLIN, 0};
            if (poll(&entry, 1, quietMs) <= 0) {
                break;
            }
            const std::size_t want = std::min(sizeof chunk, n - bytes.size());
            const ssize_t r = read(master_, chunk, want);
            if (r <= 0) {
                break;
            }
            bytes.insert(bytes.end(), chunk, chunk + r);
        }
        return bytes;
    }

  private:
    int master_ = -1;
    std::string slavePath_;
};

}  // namespace velmora::testing
