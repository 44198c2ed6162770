#pragma once

#include <string>

#include "system/posix/PortLinkLock.h"

namespace velmora {

// The instrument's end of a pseudo-terminal, published as a symbolic link in
// the per-user port directory so that port discovery lists it.
//
// Open() creates the pseudo-terminal, sets its line raw (no echo, no
// translation), keeps one descriptor of the slave side open itself (so reads
// on the master never fail with EIO while no program has the port open) and
// creates the link: `linkName`, or the first free ttyVIRT<n>. While it
// serves, it holds the link's lock (PortLinkLock), so that a link left by a
// killed instrument is known stale; such a link, and one whose target no
// longer exists, is removed and its name reused. Close() removes the link,
// but only while it still points at this pseudo-terminal, and the lock file,
// and closes the descriptors; the destructor calls it.
class PtyService {
  public:
    PtyService() = default;
    ~PtyService();
    PtyService(const PtyService&) = delete;
    PtyService& operator=(const PtyService&) = delete;

    bool Open(const std::string& linkName, std::string& error);
    void Close();

    // Non-blocking descriptor of the master side; -1 when closed.
    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }
    const std::string& LinkPath() const { return linkPath_; }

  private:
    bool OpenPty(std::string& error);
    bool Publish(const std::string& linkName, std::string& error);
    bool TryLink(const std::string& path);

    int master_ = -1;
    int slaveHold_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    PortLinkLock lock_;
};

}  // namespace velmora
