#include "platform/qt/QImageCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPen>
#include <QString>

namespace velmora {

class QImageCanvas::Open {
  public:
    explicit Open(QImageCanvas& canvas) : canvas_(canvas), own_(!canvas.painter_.isActive()) {
        if (own_) canvas_.Begin();
    }
    ~Open() {
        if (own_) canvas_.End();
    }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;

  private:
    QImageCanvas& canvas_;
    bool own_;
};

QImageCanvas::QImageCanvas(QImage& image) : image_(image) {}

QImageCanvas::~QImageCanvas() { End(); }

void QImageCanvas::Begin() {
    if (painter_.isActive() || image_.isNull()) return;
    painter_.begin(&image_);
    Setup();
}

void QImageCanvas::End() {
    Flush();
    if (painter_.isActive()) painter_.end();
}

void QImageCanvas::Flush() {
    if (runLength_ >= 2 && painter_.isActive()) {
        painter_.drawPolyline(run_.data(), runLength_);
    }
    runLength_ = 0;
}

void QImageCanvas::Setup() {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(Pen(pen_));
    painter_.setBrush(Qt::white);
    painter_.setBackground(Qt::white);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setFont(QGuiApplication::font());
    ascent_ = painter_.fontMetrics().ascent();
}

QPen QImageCanvas::Pen(const QColor& color) const {
    QPen pen(color);
    pen.setWidth(1);
    pen.setCosmetic(true);
    return pen;
}

void QImageCanvas::SetPenColor(Rgb color) {
    Flush();
    pen_ = QColor(color.r, color.g, color.b);
    if (painter_.isActive()) painter_.setPen(Pen(pen_));
}

void QImageCanvas::MoveTo(int x, int y) {
    Flush();
    current_ = QPoint(x, y);
}

void QImageCanvas::LineTo(int x, int y) {
    const QPoint to(x, y);
    if (!painter_.isActive()) {
        Open open(*this);
        if (painter_.isActive()) painter_.drawLine(current_, to);
    } else {
        if (runLength_ == kRunPoints) {
            Flush();
        }
        if (runLength_ == 0) run_[static_cast<std::size_t>(runLength_++)] = current_;
        run_[static_cast<std::size_t>(runLength_++)] = to;
    }
    current_ = to;
}

void QImageCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    Flush();
    Open open(*this);
    // The outline runs on the outermost pixels: x1 .. x2-1, y1 .. y2-1.
    if (painter_.isActive()) painter_.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

void QImageCanvas::TextOut(int x, int y, const char* text) {
    Flush();
    Open open(*this);
    if (!painter_.isActive()) return;
    // Text has a colour of its own (black), not the pen's.
    painter_.setPen(Qt::black);
    painter_.drawText(x, y + ascent_, QString::fromLatin1(text));
    painter_.setPen(Pen(pen_));
}

}  // namespace velmora
