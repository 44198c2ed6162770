#pragma once

#include <string>

#include "ChildProcess.h"
#include "VirtualDisplay.h"

namespace velmora::bench {

// Everything a live window runs against, the benchmark's own: a scratch
// folder (the current directory from here on, so Config.Ini lands there, and
// XDG_RUNTIME_DIR, so the port directory is private), an X server, and
// velmora-instrument on a pseudo-terminal logging every command it receives.
// All of it goes away with this object.
class LiveStage {
  public:
    LiveStage() = default;
    ~LiveStage();
    LiveStage(const LiveStage&) = delete;
    LiveStage& operator=(const LiveStage&) = delete;

    // False with the reason on stderr.
    bool Start(const std::string& instrumentProgram);

    const std::string& Folder() const { return folder_; }
    const std::string& Display() const { return display_.Name(); }
    pid_t DisplayPid() const { return display_.Pid(); }
    // The pseudo-terminal the instrument serves.
    const std::string& Terminal() const { return terminal_; }
    // Commands the instrument has received so far whose text starts with `prefix`.
    int CommandsReceived(const std::string& prefix) const;

  private:
    std::string folder_;
    std::string terminal_;
    VirtualDisplay display_;
    ChildProcess instrument_;
};

}  // namespace velmora::bench
