#include "capture/FrameRecord.h"

#include <algorithm>
#include <cstring>

#include "display/VoltLabel.h"

namespace velmora {
namespace {

int LastIfOutside(int index, int count) { return index < 0 || index >= count ? count - 1 : index; }

// The display maps full scale either way onto the plot height, which spans
// the range's whole span.
ChannelSetting ChannelOf(int probeItem, int scaleItem) {
    const double span = SpanFor(probeItem, scaleItem);
    return ChannelSetting{LastIfOutside(probeItem, 2) == 0, LastIfOutside(scaleItem, 8), span / 2,
                          span / kFullScaleSpanCounts};
}

}  // namespace

FrameSettings SettingsOf(const DisplayInputs& in, int sourceIndex, int slopeIndex) {
    FrameSettings s;
    s.xyMode = in.sweepIndex == 0;
    s.channel[0] = ChannelOf(in.chan1Probe, in.scale1);
    s.channel[1] = ChannelOf(in.chan2Probe, in.scale2);
    s.triggerSource = LastIfOutside(sourceIndex, 2);
    s.triggerSlope = LastIfOutside(slopeIndex, 2);
    s.triggerLevel = in.syncLevel;
    s.triggerPosition = in.syncPosition;
    return s;
}

void SetPortName(FrameRecord& record, const char* name) {
    record.port.fill('\0');
    std::memcpy(record.port.data(), name, std::min(std::strlen(name), kMaxPortPathLength));
}

}  // namespace velmora
