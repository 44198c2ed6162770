#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <array>

#include "platform/Canvas.h"

namespace velmora {

// The window's picture: a Canvas that paints on a QImage owned by the window
// (Format_RGB32). One-pixel cosmetic pen without antialiasing, white brush,
// text in black over the white brush, in the application font with its top
// left corner at the given point. Coordinates outside the image are clipped.
//
// Begin() opens one painter for a whole redraw and End() closes it; a call
// made outside such a pair opens a painter for itself, which is correct but
// slow. The image must not be resized or replaced between Begin() and End().
// Lines that follow one another are gathered and painted as one polyline when
// anything else is drawn, the pen changes or End() is called; the picture is
// the same, the painting several times faster. UI thread only.
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

  private:
    class Open;  // keeps a painter open for the length of one call
    void Setup();
    QPen Pen(const QColor& color) const;
    void Flush();

    // A polyline of up to kRunPoints points waiting to be painted.
    static constexpr int kRunPoints = 4096;

    QImage& image_;
    QPainter painter_;
    QColor pen_{Qt::black};
    QPoint current_;
    int ascent_ = 0;
    std::array<QPoint, kRunPoints> run_{};
    int runLength_ = 0;
};

}  // namespace velmora
