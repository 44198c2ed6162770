#pragma once

#include <cstdint>

#include "controls/ListBox.h"
#include "controls/Memo.h"
#include "controls/ScrollBar.h"
#include "link/SerialLink.h"

namespace velmora {

// The oscilloscope's controls on the window, as the handlers read them.
struct ScopePanel {
    ListBox& sweepSpeed;
    ListBox& syncSrcBox;
    ListBox& syncPolBox;
    ScrollBar& syncVoltBar;
    ScrollBar& syncPosBar;
    ListBox& chan1Probe;
    ListBox& scale1;
    ListBox& chan2Probe;
    ListBox& scale2;
};

// Values of the last sync command, read by the display for its markers.
struct SyncState {
    int32_t syncPosition = 0;  // SyncPosition, 0..2048
    int32_t syncLevel = 0;     // SyncLevel, -2000..2000 (2000 in XY mode)
};

// The oscilloscope control handlers: each reads its controls, logs, and sends
// the command that brings the instrument in line with the window.
class ScopeControls {
  public:
    ScopeControls(ScopePanel panel, SerialLink& link, Memo& display)
        : panel_(panel), link_(link), display_(display) {}

    void SweepSpeedClick();
    // Sends source, polarity, position and level together.
    void UpdateSyncClick();
    // channel is 1 or 2. The probe only relabels the channel's range list.
    void ProbeClick(int channel);
    void ScaleClick(int channel);

    const SyncState& Sync() const { return sync_; }

  private:
    ScopePanel panel_;
    SerialLink& link_;
    Memo& display_;
    SyncState sync_;
};

// Replaces the entries of `scale` by the labels of `probeIndex`'s row, keeping
// the range index (settled into the list). An index that names no row is read
// as the "x1" row.
void RelabelScale(ListBox& scale, int probeIndex);

}  // namespace velmora
