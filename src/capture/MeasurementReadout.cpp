#include "capture/MeasurementReadout.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "acquisition/TraceDisplay.h"
#include "capture/Measurements.h"

namespace velmora {
namespace {

constexpr int kWidth = 360;  // from the right edge
constexpr int kRightMargin = 4;
constexpr int kTop = 26;  // below the time labels
constexpr int kRowHeight = 15;
constexpr int kColumns[] = {0, 28, 108, 200, 282};  // CH, Vpp, Mean, RMS, f
constexpr Rgb kBlack{0, 0, 0};

// Four significant digits, fixed point: 1.000, 12.34, 353.6, 1000.
void AppendFixed(std::string& out, double value) {
    const double size = std::fabs(value);
    const int magnitude = size >= 1 ? static_cast<int>(std::floor(std::log10(size))) : 0;
    const int decimals = magnitude >= 3 ? 0 : 3 - magnitude;
    std::array<char, 32> text{};
    const auto r = std::to_chars(text.data(), text.data() + text.size(), value,
                                 std::chars_format::fixed, decimals);
    out.append(text.data(), r.ptr);
}

std::string Scaled(const char* label, double value, const char* unit, const char* milliOrKilo,
                   bool kilo) {
    std::string text = std::string(label) + " ";
    const bool small = !kilo && std::fabs(value) < 1;
    const bool large = kilo && std::fabs(value) >= 1000;
    AppendFixed(text, small ? value * 1000 : large ? value / 1000 : value);
    return text + " " + (small || large ? milliOrKilo : "") + unit;
}

std::string Volts(const char* label, double value) { return Scaled(label, value, "V", "m", false); }

std::string Hertz(const std::optional<double>& value) {
    return value ? Scaled("f", *value, "Hz", "k", true) : std::string("f ---");
}

void DrawRow(Canvas& canvas, int left, int y, int channel, const ChannelMeasurements& m) {
    const std::string texts[] = {channel == 0 ? "CH1" : "CH2", Volts("Vpp", m.peakToPeak),
                                 Volts("Mean", m.mean), Volts("RMS", m.rms), Hertz(m.frequency)};
    canvas.SetTextColor(channel == 0 ? kTrace1Color : kTrace2Color);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        canvas.TextOut(left + kColumns[i], y, texts[i].c_str());
    }
}

}  // namespace

ReadoutArea MeasurementReadoutArea(int clientWidth) {
    return ReadoutArea{clientWidth - kWidth, kTop, clientWidth - kRightMargin,
                       kTop + 2 * kRowHeight};
}

void DrawMeasurementReadout(Canvas& canvas, const FrameRecord& record, int clientWidth,
                            double sampleRateHz) {
    const FrameMeasurements m = MeasureFrame(record, sampleRateHz);
    const bool shown[2] = {record.settings.xyMode || record.inputs.scope1,
                           record.settings.xyMode || record.inputs.scope2};
    const ReadoutArea area = MeasurementReadoutArea(clientWidth);
    int y = area.top;
    for (int ch = 0; ch < 2; ++ch) {
        if (!shown[ch]) continue;
        DrawRow(canvas, area.left, y, ch, m[static_cast<std::size_t>(ch)]);
        y += kRowHeight;
    }
    canvas.SetTextColor(kBlack);
}

}  // namespace velmora
