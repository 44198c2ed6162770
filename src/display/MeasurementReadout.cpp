#include "display/MeasurementReadout.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "controls/DpiScale.h"
#include "display/TraceDisplay.h"

namespace velmora {
namespace {

constexpr int kWidth = 360;  // from the right edge
constexpr int kRightMargin = 4;
constexpr int kTop = 26;  // below the time labels
constexpr int kRowHeight = 15;
constexpr int kColumns[] = {0, 28, 108, 200, 282};  // CH, Vpp, Mean, RMS, f
constexpr Rgb kBlack{0, 0, 0};

// One value's text in fixed storage: the readout is drawn at every frame.
class ValueText {
  public:
    const char* Text() const { return text_.data(); }

    ValueText& Append(const char* part) {
        while (*part != '\0' && size_ + 1 < text_.size()) text_[size_++] = *part++;
        text_[size_] = '\0';
        return *this;
    }
    // Four significant digits, fixed point: 1.000, 12.34, 353.6, 1000.
    ValueText& Append(double value) {
        const double size = std::fabs(value);
        const int magnitude = size >= 1 ? static_cast<int>(std::floor(std::log10(size))) : 0;
        const int decimals = magnitude >= 3 ? 0 : 3 - magnitude;
        const auto r = std::to_chars(text_.data() + size_, text_.data() + text_.size() - 1, value,
                                     std::chars_format::fixed, decimals);
        if (r.ec == std::errc()) size_ = static_cast<std::size_t>(r.ptr - text_.data());
        text_[size_] = '\0';
        return *this;
    }

  private:
    std::array<char, 40> text_{};
    std::size_t size_ = 0;
};

ValueText Volts(const char* label, double value) {
    const bool milli = std::fabs(value) < 1;
    ValueText t;
    t.Append(label).Append(" ").Append(milli ? value * 1000 : value).Append(milli ? " mV" : " V");
    return t;
}

ValueText Hertz(const std::optional<double>& value) {
    ValueText t;
    if (!value) {
        t.Append("f ---");
        return t;
    }
    const bool kilo = std::fabs(*value) >= 1000;
    t.Append("f ").Append(kilo ? *value / 1000 : *value).Append(kilo ? " kHz" : " Hz");
    return t;
}

void DrawRow(Canvas& canvas, int left, int y, int dpi, int channel, const ReadoutRow& m) {
    ValueText name;
    name.Append(channel == 0 ? "CH1" : "CH2");
    const ValueText texts[] = {name, Volts("Vpp", m.peakToPeak), Volts("Mean", m.mean),
                               Volts("RMS", m.rms), Hertz(m.frequency)};
    canvas.SetTextColor(channel == 0 ? kTrace1Color : kTrace2Color);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        canvas.TextOut(left + ToDevicePixels(kColumns[i], dpi), y, texts[i].Text());
    }
}

}  // namespace

ReadoutArea MeasurementReadoutArea(int clientWidth, int dpi) {
    return ReadoutArea{clientWidth - ToDevicePixels(kWidth, dpi), ToDevicePixels(kTop, dpi),
                       clientWidth - ToDevicePixels(kRightMargin, dpi),
                       ToDevicePixels(kTop + 2 * kRowHeight, dpi)};
}

void DrawMeasurementReadout(Canvas& canvas, const ReadoutRows& rows, int clientWidth, int dpi) {
    const ReadoutArea area = MeasurementReadoutArea(clientWidth, dpi);
    int row = 0;
    for (int ch = 0; ch < 2; ++ch) {
        const ReadoutRow& values = rows[static_cast<std::size_t>(ch)];
        if (!values.shown) continue;
        DrawRow(canvas, area.left, area.top + ToDevicePixels(row++ * kRowHeight, dpi), dpi, ch,
                values);
    }
    canvas.SetTextColor(kBlack);
}

}  // namespace velmora
