#pragma once

#include <array>
#include <string>

#include "capture/FrequencySweep.h"
#include "system/WallClock.h"

namespace velmora {

// What a frequency response was measured with, for the file's comment lines.
struct ResponseRun {
    std::string port;
    LocalTime time;
    double sampleRateHz = 0.0;
    double amplitudeVolts = 0.0;  // generator A's peak
    std::array<bool, 2> x10{};    // the probes
};

// A frequency response file, in the conventions of the capture files: '#'
// comment lines, then one row a point, written as each point is measured:
//   Frequency (Hz),CH1 (V),CH2 (V),Gain (dB),Phase (deg),CH1 Range (V),CH2 Range (V)
// CH1 and CH2 are peak amplitudes at the probe tip; an empty cell is a value
// that could not be measured.
std::string ResponseCsvHeader(const ResponseRun& run);
void AppendResponseRow(std::string& out, const ResponsePoint& point);

}  // namespace velmora
