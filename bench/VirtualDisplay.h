#pragma once

#include <string>

#include "ChildProcess.h"

namespace velmora::bench {

// An X server of the benchmark's own (Xvfb, 1600 x 1200 at 24 bits, room for
// the window at its design size with a frame) on the first display number
// from 90 that no other server holds. Other people's servers are never
// touched; it ends with this object.
class VirtualDisplay {
  public:
    // False when no server could be started; the reason is in `log`.
    bool Start(const std::string& log);
    // ":N", for DISPLAY.
    const std::string& Name() const { return name_; }
    // The server's process, whose CPU shows what getting pictures to the
    // screen costs it.
    pid_t Pid() const { return server_.Pid(); }

  private:
    ChildProcess server_;
    std::string name_;
};

}  // namespace velmora::bench
