#include "instrument/InputSignal.h"

#include <array>
#include <cmath>

#include "instrument/DecimalText.h"
#include "link/WaveformNames.h"

namespace velmora {
namespace {

constexpr std::size_t kMaxFields = 4;

std::string WaveformList() {
    std::string list;
    for (const std::string_view name : kWaveformNames) {
        if (!list.empty()) list += ", ";
        list += name;
    }
    return list;
}

bool Fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

}  // namespace

bool InputSignal::Parse(std::string_view text, InputSignal& signal, std::string& error) {
    std::array<std::string_view, kMaxFields> field;
    std::size_t count = 0;
    if (!SplitFields(text, field.data(), field.size(), count) || count < 3) {
        return Fail(error, "needs WAVE,HZ,VOLTS[,OFFSET], not '" + std::string(text) + "'");
    }
    InputSignal parsed;
    parsed.waveform = WaveformCharacter(field[0]);
    if (parsed.waveform == '\0') {
        return Fail(error, "has no waveform '" + std::string(field[0]) + "' (one of " +
                               WaveformList() + ")");
    }
    if (!ParseDecimal(field[1], parsed.frequency) || !(parsed.frequency > 0.0) ||
        parsed.frequency > kMaxFrequency) {
        return Fail(error, "needs a frequency above 0 and at most 1000000 Hz, not '" +
                               std::string(field[1]) + "'");
    }
    if (!ParseDecimal(field[2], parsed.amplitude) || parsed.amplitude < 0.0 ||
        parsed.amplitude > kMaxVolts) {
        return Fail(error,
                    "needs a peak amplitude from 0 to 100 V, not '" + std::string(field[2]) + "'");
    }
    if (count == 4 &&
        (!ParseDecimal(field[3], parsed.offset) || std::fabs(parsed.offset) > kMaxVolts)) {
        return Fail(error,
                    "needs an offset from -100 to 100 V, not '" + std::string(field[3]) + "'");
    }
    signal = parsed;
    return true;
}

}  // namespace velmora
