#pragma once

#include "cli/CommandSystem.h"

namespace velmora {

// The capture command: the window's core headless (its form on a null canvas,
// its start-up, then each setting through the handler a user's click runs,
// its timer every 200 ms), writing every frame that arrives after the last
// setting went out. Returns the exit status.
int RunCaptureCommand(int argc, const char* const* argv, CommandSystem& system);

}  // namespace velmora
