#pragma once

#include <string>

namespace velmora {

// The lock that tells a live port link from a stale one. A program that
// publishes a link in the port directory (the virtual instrument) holds an
// flock on a file beside it, "<link>.lock", for as long as it serves the
// port. When such a program is killed its link stays behind, and the number
// of its pseudo-terminal goes to the next terminal any program opens: the
// link would then lead to somebody's shell. The lock file stays too, but
// nobody holds its lock any more, and that is how the link is known stale.
// Links without a lock file (a socat bridge, a test's pseudo-terminal) are
// none of its business.
class PortLinkLock {
  public:
    PortLinkLock() = default;
    ~PortLinkLock() { Release(); }
    PortLinkLock(const PortLinkLock&) = delete;
    PortLinkLock& operator=(const PortLinkLock&) = delete;

    static std::string PathFor(const std::string& linkPath) { return linkPath + ".lock"; }
    // A lock file stands beside the link and nobody holds it.
    static bool IsStale(const std::string& linkPath);

    // Creates (or opens) the lock file of `linkPath` and takes its lock.
    // False when another program holds it or the file cannot be made.
    // `leftBehind` tells whether the file was there already: a link beside
    // it was then left by a program that no longer runs.
    bool Hold(const std::string& linkPath, bool& leftBehind);
    // Removes the lock file (while it is still this one's) and lets go.
    void Release();

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace velmora
