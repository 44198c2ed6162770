#pragma once

#include <QFont>
#include <QString>

namespace velmora {

// A control of the window with a fixed text, whose box the window fits to it
// on a scaled screen (FitControlBoxes).
class MeasuredText {
  public:
    virtual ~MeasuredText() = default;

    // The width the control needs for its text, with what it draws around
    // it, in logical pixels, measured at `dpr` device pixels per logical
    // one; 0 for a control without a fixed text.
    virtual int TextWidth(qreal dpr) const = 0;

  protected:
    MeasuredText() = default;
    MeasuredText(const MeasuredText&) = default;
    MeasuredText& operator=(const MeasuredText&) = default;

    // `text` in `font` as the screen draws it: measured in the font at the
    // device's pixel size (where hinting and rounding differ from the
    // logical font's), in logical pixels, rounded up.
    static int DeviceTextWidth(const QFont& font, const QString& text, qreal dpr);
};

}  // namespace velmora
