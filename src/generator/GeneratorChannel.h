#pragma once

#include "controls/CheckBox.h"
#include "controls/EditBox.h"
#include "controls/ListBox.h"

namespace velmora {

// One row of generator controls and the command format of its channel
// ("%%G0%c%f,%f" for A, "%%G1%c%f,%f" for B).
struct GeneratorChannel {
    CheckBox& enable;
    ListBox& waveform;
    EditBox& frequency;
    EditBox& amplitude;
    const char* format;
};

inline constexpr const char* kGeneratorFormatA = "%%G0%c%f,%f";
inline constexpr const char* kGeneratorFormatB = "%%G1%c%f,%f";

}  // namespace velmora
