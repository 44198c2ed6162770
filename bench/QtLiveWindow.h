#pragma once

#include "LiveFigures.h"
#include "LiveStage.h"

namespace velmora::bench {

// The real Qt window in this process, on the xcb platform of the stage's X
// server: the generator is switched on (a sine on each channel) through the
// window's controls, then `options.seconds` of it are measured. The process
// exit code.
int RunQtWindow(LiveStage& stage, const LiveOptions& options, int argc, char** argv);

}  // namespace velmora::bench
