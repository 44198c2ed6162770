#pragma once

#include <cstdint>

#include "controls/CheckBox.h"
#include "controls/ListBox.h"
#include "controls/ScrollBar.h"
#include "controls/Window.h"

namespace velmora {

// Number of settings the file holds, one line each.
inline constexpr int kConfigSettings = 18;

// The controls whose state the settings file keeps, and the factory defaults
// reset (all but the geometry and the check boxes). Slot n is the n-th line
// of the file.
struct SettingsPanel {
    ListBox& sweepSpeed;
    ListBox& syncSrcBox;
    ListBox& syncPolBox;
    ListBox& comPort;
    ListBox& chan1Probe;
    ListBox& scale1;
    ListBox& chan2Probe;
    ListBox& scale2;
    ScrollBar& syncVoltBar;
    ScrollBar& syncPosBar;
    Window& form;
    CheckBox& scope1CheckBox;
    CheckBox& scope2CheckBox;
    CheckBox& fft1CheckBox;
    CheckBox& fft2CheckBox;

    // The line template of slot 0..17: a 6-character key, "%d", 16 blanks
    // (and, for the port, "%s" for its path), CR LF.
    static const char* Template(int slot);

    // The value the file stores for slot: a list's selected index (-1 when
    // none), a bar's position, a geometry value, 1 or 0 for a check box.
    int32_t Value(int slot) const;

    // Applies a value read from the file. A list takes any index as given
    // (no handler runs; start-up settles it later); a bar clamps it and runs
    // its change handler when its position changes; geometry is set
    // unchecked; a check box is ticked when the value is not 0.
    void Apply(int slot, int32_t value);
};

}  // namespace velmora
