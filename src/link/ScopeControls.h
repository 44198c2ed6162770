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

// What the sync command can carry: the trigger position as a sample index
// (the position bar's range) and the level in counts (the level bar's range,
// negated: its top end sends the highest level). XY mode sends the top level.
inline constexpr int32_t kSyncPositionMin = 0;
inline constexpr int32_t kSyncPositionMax = 2048;
inline constexpr int32_t kSyncLevelMin = -2000;
inline constexpr int32_t kSyncLevelMax = 2000;

// Values of the last sync command, read by the display for its markers.
struct SyncState {
    int32_t syncPosition = 0;  // SyncPosition
    int32_t syncLevel = 0;     // SyncLevel
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
