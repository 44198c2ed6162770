#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "display/DisplayInputs.h"
#include "link/FrameFormat.h"
#include "system/SerialPort.h"
#include "system/WallClock.h"

namespace velmora {

// What one channel was taken with.
struct ChannelSetting {
    bool x10 = false;          // the probe
    int rangeIndex = 7;        // 0 (largest) .. 7, as the range command sends it
    double rangeVolts = 1;     // the range's "+-" value, probe included
    double voltsPerCount = 0;  // one sample count in volts at the input
};

// What a frame was taken with, read off the controls as they were drawn.
struct FrameSettings {
    bool xyMode = false;
    std::array<ChannelSetting, 2> channel{};
    int triggerSource = 1;  // 0 channel 1, 1 channel 2
    int triggerSlope = 1;   // 0 rising, 1 falling
    int32_t triggerLevel = 0;
    int32_t triggerPosition = 1024;
};

// A copy of the frame on the screen, taken when it was drawn (the receive
// buffers are overwritten in place as the next frame arrives), with what it
// was drawn from. Fixed storage: taking one allocates nothing.
struct FrameRecord {
    SampleFrame frame;
    DisplayInputs inputs;  // the picture's inputs, so the same picture can be drawn again
    FrameSettings settings;
    std::array<char, kPortPathBytes> port{};  // zero-terminated
    LocalTime time;
    uint32_t request = 0;  // the number of the data request this frame answered
};

// The settings of a picture's inputs and the trigger lists' selections. A
// selection outside its list reads as the list's last item, as the picture
// reads it.
FrameSettings SettingsOf(const DisplayInputs& in, int sourceIndex, int slopeIndex);

// Copies `name` into the record's port, cut to fit.
void SetPortName(FrameRecord& record, const char* name);

}  // namespace velmora
