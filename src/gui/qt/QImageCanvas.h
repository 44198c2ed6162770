#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "controls/Canvas.h"
#include "gui/qt/LineRaster.h"
#include "gui/qt/TextStamps.h"

namespace velmora {

// The window's picture: a Canvas that paints on a QImage owned by the window
// (Format_RGB32). Lines are one pixel wide, solid and without antialiasing;
// each covers its start pixel but not its end point (see LineRaster), and they
// are written straight into the image's memory, which is several times faster
// than a painter for a dense trace. Rectangles (white brush, outline in the
// pen colour) and text (black unless set otherwise, over the white brush, in the application font,
// its top left corner at the given point) go through a QPainter, whose raster
// engine writes to the image at once, so every operation lands in call order;
// a text drawn before is copied from its first rendering (see TextStamps).
// Coordinates outside the image are clipped.
//
// Begin() opens one painter for a whole redraw and End() closes it; a call
// made outside such a pair does its own set-up, which is correct but slow. The
// image must not be resized or replaced between Begin() and End(). Images of
// formats other than the 32-bit RGB ones get their lines from the painter.
// The canvas keeps the bounds of what it has drawn, so that a window shows
// only that part again. UI thread only.
class QImageCanvas final : public Canvas {
  public:
    explicit QImageCanvas(QImage& image);
    ~QImageCanvas() override;
    QImageCanvas(const QImageCanvas&) = delete;
    QImageCanvas& operator=(const QImageCanvas&) = delete;

    void Begin();
    void End();

    void SetPenColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const char* text) override;
    void SetTextColor(Rgb color) override;

    // The part of the image drawn on since the last call, or an empty
    // rectangle; the next call starts afresh.
    QRect TakeDrawnArea();

  private:
    class Open;  // keeps a painter open for the length of one call
    void Setup();
    QPen Pen() const;
    LineRaster ImageRaster();
    void FillBox(int left, int top, int right, int bottom);
    void PaintText(int x, int y, const char* text);
    // Adds the box from (x1, y1) to (x2, y2), corners included, to the drawn
    // area; kept unclipped, as plain bounds, for the thousands of segments of
    // a trace.
    void Drawn(int x1, int y1, int x2, int y2) {
        drawn_.left = std::min({drawn_.left, x1, x2});
        drawn_.right = std::max({drawn_.right, x1, x2});
        drawn_.top = std::min({drawn_.top, y1, y2});
        drawn_.bottom = std::max({drawn_.bottom, y1, y2});
    }

    QImage& image_;
    QPainter painter_;
    QColor pen_{Qt::black};
    QColor text_{Qt::black};
    uint32_t penPixel_ = 0xff000000;  // the pen colour as a pixel of the image
    QPoint current_;
    int ascent_ = 0;
    int textHeight_ = 0;
    int widestCharacter_ = 0;
    struct Bounds {
        int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    } drawn_;
    LineRaster raster_;        // over the image while the painter is open
    bool rasterOpen_ = false;  // ... and the image's pixels are 32-bit RGB
    TextStamps stamps_;
};

}  // namespace velmora
