#pragma once

#include <string>

#include "LiveFigures.h"
#include "LiveStage.h"

namespace velmora::bench {

// The Win32 window (`options.win32`) under Wine on the stage's X server,
// started as a user starts it, its port (COM5, the instrument's
// pseudo-terminal) declared in Wine's prefix, the generator switched on with
// the X server's own mouse and keys (xdotool). Its CPU, the Wine server's and
// the X server's are read from the host's /proc: the Windows process is an
// ordinary Linux process there. The process exit code.
int RunWineWindow(LiveStage& stage, const LiveOptions& options);

}  // namespace velmora::bench
