#pragma once

#include "acquisition/ReceiveState.h"
#include "controls/Memo.h"
#include "generator/GeneratorChannel.h"
#include "link/SerialLink.h"
#include "system/Clock.h"

namespace velmora {

// Frequency and peak-amplitude limits of the generator, as the window knows them.
inline constexpr float kMinFrequency = 0.25f;
inline constexpr float kMaxFrequency = 1000000.0f;
inline constexpr float kMaxAmplitude = 3.3f;

// Sends a channel's whole setting when its enable box is ticked: the
// generator command (logged and written) followed by a data request, which
// abandons any frame on its way. An unticked box sends nothing. Text that is
// not a number throws InvalidFloatText before anything is logged or written;
// the frequency text is read first, so its error is the one reported.
void SendGeneratorCommand(const GeneratorChannel& channel, SerialLink& link, ReceiveState& rx,
                          Clock& clock, Memo& display);

// The generator command alone, without the data request: for bringing a
// newly opened instrument in line, where one request follows all settings.
// Returns whether the box was ticked and the command went out; throws as
// SendGeneratorCommand does.
bool SendGeneratorSetting(const GeneratorChannel& channel, SerialLink& link, Memo& display);

}  // namespace velmora
