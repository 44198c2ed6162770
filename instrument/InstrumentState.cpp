#include "instrument/InstrumentState.h"

namespace velmora {

void InstrumentState::Apply(const Command& command) {
    switch (command.kind) {
        case Command::Kind::kDataRequest:
            ++counters.dataRequests;
            break;
        case Command::Kind::kSync:
            syncSource = command.source;
            syncPolarity = command.polarity;
            syncPosition = command.position;
            syncLevel = command.level;
            ++counters.syncCommands;
            break;
        case Command::Kind::kRange1:
            range[0] = command.range;
            ++counters.range1Commands;
            break;
        case Command::Kind::kRange2:
            range[1] = command.range;
            ++counters.range2Commands;
            break;
        case Command::Kind::kGenerator: {
            Generator& target = generator[command.channel == 0 ? 0 : 1];
            target.waveform = command.waveform;
            target.frequency = command.frequency;
            target.amplitude = command.amplitude;
            ++counters.generatorCommands;
            break;
        }
    }
}

}  // namespace velmora
