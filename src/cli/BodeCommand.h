#pragma once

#include "cli/CommandSystem.h"

namespace velmora {

// The frequency response command: the window's core headless, as the capture
// command runs it, stepping generator A's sine through a logarithmic sweep
// and measuring gain and phase of channel 2 over channel 1 at each point,
// with each channel's range following its signal. Returns the exit status.
int RunBodeCommand(int argc, const char* const* argv, CommandSystem& system);

}  // namespace velmora
