#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

#include "controls/Canvas.h"
#include "gui/qt/TextStamps.h"
#include "raster/FrameOps.h"
#include "raster/LineRaster.h"
#include "raster/OpReach.h"
#include "raster/RedrawRecord.h"

namespace velmora {

// The window's picture: a Canvas that paints on a QImage owned by the window
// (Format_RGB32). Lines are one pixel wide, solid and without antialiasing;
// each covers its start pixel but not its end point (see LineRaster), and they
// are written straight into the image's memory, which is several times faster
// than a painter for a dense trace. Rectangles (white brush, outline in the
// pen colour) are written as a QPainter would draw them, and text (black
// unless set otherwise, over the white brush, in the application font, its
// top left corner at the given point) goes through a QPainter, or is copied
// from its first rendering (see TextStamps). Every operation lands in call
// order; coordinates outside the image are clipped.
//
// Begin() opens one painter for a whole redraw and End() closes it; a call
// made outside such a pair does its own set-up, which is correct but slow. The
// image must not be resized or replaced between Begin() and End(). Images of
// formats other than the 32-bit RGB ones get their lines from the painter.
// The canvas keeps the bounds of what it has drawn, so that a window shows
// only that part again.
//
// Between Begin() and End() the operations are kept and drawn at End(), in
// order (see RedrawRecord): when a redraw's operations are those of the one
// before but for a few, only the tiles those few reach are drawn again, with
// every operation clipped to them, and only those tiles count as drawn. UI
// thread only.
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
    // In the application font, as TextOut draws.
    TextExtent MeasureText(const char* text) override;

    // The part of the image drawn on since the last call, or an empty
    // region; the next call starts afresh.
    QRegion TakeDrawnArea();

  private:
    class Open;  // keeps a painter open for the length of one call
    static int Near(int64_t v, int64_t lo, int64_t hi) {
        return static_cast<int>(std::clamp(v, lo, hi));
    }
    void Setup();
    QPen Pen() const;
    LineRaster ImageRaster();
    // The operations kept until End(), see the class comment.
    void Record(const DrawOp& op, std::string_view text = {});
    void Flush();
    void RenderTiles();
    void RenderWhole();
    void Render(const DrawOp& op, std::string_view text, const QRect& clip, bool track);
    OpReach Reach() const;
    void PaintClippedText(const DrawOp& op, std::string_view text, const QRect& clip, bool track);
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
    bool rasterOpen_ = false;     // the painter is open and the image's pixels are 32-bit RGB
    uint32_t* pixels_ = nullptr;  // ... which are these, rows stride_ pixels apart
    qsizetype stride_ = 0;
    TextStamps stamps_;
    RedrawRecord record_;  // what the picture shows and what was asked for since Begin()
    QFont shownFont_;      // the font the shown text was drawn in
    qint64 keyAtEnd_ = 0;  // the image's cache key when the canvas last let go of it
    QRegion changed_;      // tiles drawn again, beside the bounds in drawn_
};

}  // namespace velmora
