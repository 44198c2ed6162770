#include "settings/FactoryDefaults.h"

namespace velmora {
namespace {

// A selection made by the program, shown in the list's one visible row. No
// click handler runs; an empty list keeps no selection.
void Select(ListBox& list, int index) {
    list.SetItemIndex(index);
    SettleListSelection(list);
}

}  // namespace

void RestoreFactoryDefaults(SettingsPanel& panel, const ScopeHandlers& handlers) {
    Select(panel.sweepSpeed, 0);
    Select(panel.syncSrcBox, 0);
    Select(panel.syncPolBox, 0);
    // The port stays the one the user chose (none stays none): the last
    // entry may be a device that is not the instrument.
    Select(panel.chan1Probe, 0);
    Select(panel.scale1, 0);
    Select(panel.chan2Probe, 0);
    Select(panel.scale2, 0);
    panel.syncVoltBar.SetPosition(0);
    panel.syncPosBar.SetPosition(0);

    handlers.comPortClick();
    handlers.scale1Click();
    handlers.scale2Click();
    handlers.sweepSpeedClick();
    handlers.chan1ProbeClick();
    handlers.chan2ProbeClick();
    handlers.updateSyncClick();
}

}  // namespace velmora
