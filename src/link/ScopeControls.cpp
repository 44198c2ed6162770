#include "link/ScopeControls.h"

#include "link/CommandSender.h"
#include "link/ScaleLabels.h"

namespace velmora {
namespace {

// '0' + index in 8 bits, as the toolkit's character arithmetic gives it. The
// sum is taken unsigned: a list not yet settled may hold any index (one read
// from a settings file, for instance) when a bar's move sends the command.
char IndexCharacter(int index) {
    return static_cast<char>(static_cast<unsigned>('0') + static_cast<unsigned>(index));
}

}  // namespace

void RelabelScale(ListBox& scale, int probeIndex) {
    const int row = (probeIndex == 0 || probeIndex == 1) ? probeIndex : 1;
    const int noted = scale.ItemIndex();
    scale.Clear();
    for (const char* label : kScaleLabels[row]) scale.Add(label);
    scale.SetItemIndex(noted);
    SettleListSelection(scale);
}

void ScopeControls::SweepSpeedClick() {
    LogLine(display_, "SweepSpeed %d", panel_.sweepSpeed.ItemIndex());
    UpdateSyncClick();
}

void ScopeControls::UpdateSyncClick() {
    sync_.syncLevel =
        panel_.sweepSpeed.ItemIndex() == 0 ? kSyncLevelMax : 0 - panel_.syncVoltBar.Position();
    const int source = panel_.syncSrcBox.ItemIndex();
    const int polarity = panel_.syncPolBox.ItemIndex();
    sync_.syncPosition = panel_.syncPosBar.Position();
    // An unsettled list sends '0' + (-1), the character '/', as the toolkit would.
    SendCommand(link_, display_, "%%S%c%c%5d%5d\r", IndexCharacter(source),
                IndexCharacter(polarity), sync_.syncPosition, sync_.syncLevel);
}

void ScopeControls::ProbeClick(int channel) {
    ListBox& probe = channel == 1 ? panel_.chan1Probe : panel_.chan2Probe;
    LogLine(display_, channel == 1 ? "ProbeType1 %d" : "ProbeType2 %d", probe.ItemIndex());
    RelabelScale(channel == 1 ? panel_.scale1 : panel_.scale2, probe.ItemIndex());
}

void ScopeControls::ScaleClick(int channel) {
    const int index = (channel == 1 ? panel_.scale1 : panel_.scale2).ItemIndex();
    LogLine(display_, "Range %d", index);
    SendCommand(link_, display_, channel == 1 ? "%%X%d\r" : "%%Y%d\r", index);
}

}  // namespace velmora
