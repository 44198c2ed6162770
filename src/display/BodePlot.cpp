#include "display/BodePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/TraceDisplay.h"

namespace velmora {
namespace {

constexpr Rgb kMinorGridColor{220, 220, 220};
constexpr Rgb kFrameColor{0, 0, 0};
constexpr Rgb kGainColor = kTrace1Color;
constexpr Rgb kPhaseColor = kTrace2Color;

// Margins in character cells: labels to the left and below, the title above.
constexpr int kLeftCells = 9;
constexpr int kRightCells = 3;
constexpr int kTopCells = 4;
constexpr int kGapCells = 5;
constexpr int kBottomCells = 5;
constexpr int kMarkHalf = 2;  // pixels either side of a point's mark
// Pixel coordinates stay far inside int, whatever the numbers.
constexpr double kMaxPixel = 1e6;

struct Axis {
    double low = 0.0;
    double high = 1.0;
    double step = 1.0;
};

struct Panel {
    int left = 0, top = 0, right = 0, bottom = 0;
    Axis y;
};

int Pixel(double value) {
    return static_cast<int>(std::lround(std::clamp(value, -kMaxPixel, kMaxPixel)));
}

// Whole steps of `step` around the values, at least `minSteps` of them; a
// value a hair past a step (noise on a -90 degree phase) takes no step more.
Axis AxisAround(double low, double high, double step, int minSteps) {
    constexpr double kHair = 0.01;  // of a step
    Axis axis{std::floor(low / step + kHair) * step, std::ceil(high / step - kHair) * step, step};
    while (axis.high - axis.low < minSteps * step - 1e-9) {
        axis.high += step;
        if (axis.high - axis.low < minSteps * step - 1e-9) axis.low -= step;
    }
    return axis;
}

// A gain step that gives about four to ten lines.
double GainStep(double span) {
    for (const double step : {5.0, 10.0, 20.0, 40.0}) {
        if (span <= 8 * step) return step;
    }
    return 80.0;
}

class Plot {
  public:
    Plot(Canvas& canvas, const std::vector<BodePlotPoint>& points)
        : canvas_(canvas), points_(points), cell_(canvas.MeasureText("0")) {}

    void Draw(int width, int height) {
        canvas_.SetPenColor({255, 255, 255});
        canvas_.Rectangle(0, 0, width, height);
        if (points_.empty()) return;
        low_ = std::log10(points_.front().frequency);
        high_ = std::log10(std::max(points_.back().frequency, points_.front().frequency * 1.0001));
        const int left = kLeftCells * cell_.width;
        const int right = width - kRightCells * cell_.width;
        const int top = kTopCells * cell_.height;
        const int bottom = height - kBottomCells * cell_.height;
        const int middle = (top + bottom) / 2;
        const int gap = kGapCells * cell_.height / 2;
        Panel gain{left, top, right, middle - gap, GainAxis()};
        Panel phase{left, middle + gap, right, bottom, PhaseAxis()};
        Title(width);
        DrawPanel(gain, "Gain (dB)", false);
        DrawPanel(phase, "Phase (deg)", true);
        Curve(gain, kGainColor, [](const BodePlotPoint& p) { return p.gainDb; });
        Curve(phase, kPhaseColor, [](const BodePlotPoint& p) { return p.phaseDegrees; });
    }

  private:
    Axis GainAxis() const {
        double low = 0.0, high = 0.0;
        bool any = false;
        for (const BodePlotPoint& p : points_) {
            if (!p.gainDb) continue;
            low = any ? std::min(low, *p.gainDb) : *p.gainDb;
            high = any ? std::max(high, *p.gainDb) : *p.gainDb;
            any = true;
        }
        if (!any) return {-20.0, 0.0, 10.0};
        return AxisAround(low, high, GainStep(high - low), 2);
    }

    Axis PhaseAxis() const {
        double low = 0.0, high = 0.0;
        for (const BodePlotPoint& p : points_) {
            if (!p.phaseDegrees) continue;
            low = std::min(low, *p.phaseDegrees);
            high = std::max(high, *p.phaseDegrees);
        }
        return AxisAround(low, high, 45.0, 2);
    }

    double X(const Panel& panel, double frequency) const {
        const double at = (std::log10(frequency) - low_) / (high_ - low_);
        return panel.left + at * (panel.right - panel.left);
    }
    static double Y(const Panel& panel, double value) {
        const double at = (value - panel.y.low) / (panel.y.high - panel.y.low);
        return panel.bottom - at * (panel.bottom - panel.top);
    }

    void Title(int width) {
        const char* title = "Frequency response: CH2 over CH1";
        canvas_.SetTextColor(kFrameColor);
        const int w = TextWidth(title);
        canvas_.TextOut((width - w) / 2, cell_.height, title);
    }

    int TextWidth(const char* text) { return canvas_.MeasureText(text).width; }

    void Line(int x1, int y1, int x2, int y2) {
        canvas_.MoveTo(x1, y1);
        canvas_.LineTo(x2, y2);
    }

    void DrawPanel(const Panel& p, const char* name, bool frequencyLabels) {
        canvas_.SetTextColor(kFrameColor);
        // Minor lines first, so that the decade lines lie over them.
        canvas_.SetPenColor(kMinorGridColor);
        for (int decade = static_cast<int>(std::floor(low_)); decade <= high_; ++decade) {
            for (int m = 2; m <= 9; ++m) VerticalLine(p, m * std::pow(10.0, decade));
        }
        canvas_.SetPenColor(kGridColor);
        for (int decade = static_cast<int>(std::ceil(low_ - 1e-9)); decade <= high_ + 1e-9;
             ++decade) {
            const double f = std::pow(10.0, decade);
            VerticalLine(p, f);
            if (frequencyLabels) FrequencyLabel(p, f);
        }
        for (double v = p.y.low; v <= p.y.high + 1e-9; v += p.y.step) {
            const int y = Pixel(Y(p, v));
            Line(p.left, y, p.right, y);
            char text[32];
            std::snprintf(text, sizeof text, "%g", v == 0 ? 0.0 : v);
            const int w = TextWidth(text);
            canvas_.TextOut(p.left - w - cell_.width, y - cell_.height / 2, text);
        }
        canvas_.SetPenColor(kFrameColor);
        Line(p.left, p.top, p.right, p.top);
        Line(p.right, p.top, p.right, p.bottom);
        Line(p.right, p.bottom, p.left, p.bottom);
        Line(p.left, p.bottom, p.left, p.top);
        canvas_.TextOut(p.left, p.top - cell_.height * 3 / 2, name);
        if (frequencyLabels) {
            const char* axis = "Frequency (Hz)";
            const int w = TextWidth(axis);
            canvas_.TextOut((p.left + p.right - w) / 2, p.bottom + cell_.height * 3, axis);
        }
    }

    void VerticalLine(const Panel& p, double frequency) {
        const double at = std::log10(frequency);
        if (at < low_ - 1e-9 || at > high_ + 1e-9) return;
        const int x = Pixel(X(p, frequency));
        Line(x, p.top, x, p.bottom);
    }

    void FrequencyLabel(const Panel& p, double f) {
        char text[32];
        if (f >= 1e6) {
            std::snprintf(text, sizeof text, "%g MHz", f / 1e6);
        } else if (f >= 1e3) {
            std::snprintf(text, sizeof text, "%g kHz", f / 1e3);
        } else {
            std::snprintf(text, sizeof text, "%g Hz", f);
        }
        const int w = TextWidth(text);
        canvas_.TextOut(Pixel(X(p, f)) - w / 2, p.bottom + cell_.height, text);
    }

    template <typename Value>
    void Curve(const Panel& p, Rgb color, Value value) {
        canvas_.SetPenColor(color);
        bool drawing = false;
        for (const BodePlotPoint& point : points_) {
            const std::optional<double> v = value(point);
            if (!v) {
                drawing = false;
                continue;
            }
            const int x = Pixel(X(p, point.frequency));
            const int y = Pixel(Y(p, *v));
            if (drawing) canvas_.LineTo(x, y);
            Mark(x, y);
            canvas_.MoveTo(x, y);
            drawing = true;
        }
    }

    void Mark(int x, int y) {
        Line(x - kMarkHalf, y - kMarkHalf, x + kMarkHalf, y - kMarkHalf);
        Line(x + kMarkHalf, y - kMarkHalf, x + kMarkHalf, y + kMarkHalf);
        Line(x + kMarkHalf, y + kMarkHalf, x - kMarkHalf, y + kMarkHalf);
        Line(x - kMarkHalf, y + kMarkHalf, x - kMarkHalf, y - kMarkHalf);
    }

    Canvas& canvas_;
    const std::vector<BodePlotPoint>& points_;
    TextExtent cell_;    // one character of the canvas's font
    double low_ = 0.0;   // log10 of the first frequency
    double high_ = 1.0;  // log10 of the last
};

}  // namespace

void DrawBodePlot(Canvas& canvas, int width, int height, const std::vector<BodePlotPoint>& points) {
    Plot(canvas, points).Draw(width, height);
}

}  // namespace velmora
