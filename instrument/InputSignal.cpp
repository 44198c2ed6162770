#include "instrument/InputSignal.h"

#include <array>
#include <charconv>
#include <cmath>

#include "link/WaveformNames.h"

namespace velmora {
namespace {

constexpr std::size_t kMaxFields = 4;

// Splits at commas; false when there are more than kMaxFields fields.
bool Split(std::string_view text, std::array<std::string_view, kMaxFields>& fields,
           std::size_t& count) {
    count = 0;
    while (count < kMaxFields) {
        const std::size_t comma = text.find(',');
        fields[count++] = text.substr(0, comma);
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
    return false;
}

// A plain decimal number (sign, fraction and exponent allowed) and nothing
// after it; infinities and NaN are no numbers here.
bool ParseDecimal(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

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
    if (!Split(text, field, count) || count < 3) {
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
