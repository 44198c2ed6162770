#pragma once

#include <functional>

#include "settings/SettingsPanel.h"

namespace velmora {

// The link and oscilloscope handlers the defaults button runs again, so that
// the instrument learns every factory value. Each must be set.
struct ScopeHandlers {
    std::function<void()> comPortClick;
    std::function<void()> scale1Click;
    std::function<void()> scale2Click;
    std::function<void()> sweepSpeedClick;
    std::function<void()> chan1ProbeClick;
    std::function<void()> chan2ProbeClick;
    std::function<void()> updateSyncClick;
};

// Returns the oscilloscope controls to their factory values ("XY Mode",
// "Ch1", "Rise", "x10" and the largest range on both channels, both sync bars
// at 0), then reopens the selected port (the selection stays as it is) and
// resends every oscilloscope setting through the handlers. Each bar that moves
// runs its own change handler first. Check boxes, the generator, the window
// geometry and the settings file are left alone; nothing is logged here.
void RestoreFactoryDefaults(SettingsPanel& panel, const ScopeHandlers& handlers);

}  // namespace velmora
