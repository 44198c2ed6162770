#include "gui/qt/QImageCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace velmora {
namespace {

// Qt lays text out in 26.6 fixed point, which holds about +-2^25 pixels; text
// placed further out than this cannot reach into any image and is skipped.
constexpr int64_t kFar = int64_t{1} << 22;

int Near(int64_t v, int64_t lo, int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

bool Direct(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

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
    // The painter has detached the image and a copy taken while it is open is
    // a deep one, so these pixels stay the image's own until End().
    raster_ = ImageRaster();
}

void QImageCanvas::End() {
    raster_ = LineRaster();
    if (painter_.isActive()) painter_.end();
}

// bits() detaches a shared image, so it is asked once per painter, or once per
// line outside Begin() and End().
LineRaster QImageCanvas::ImageRaster() {
    if (image_.isNull() || !Direct(image_.format())) return {};
    return LineRaster(reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
                      image_.bytesPerLine() / static_cast<qsizetype>(sizeof(uint32_t)));
}

void QImageCanvas::Setup() {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(Pen());
    painter_.setBrush(Qt::white);
    painter_.setBackground(Qt::white);
    painter_.setBackgroundMode(Qt::OpaqueMode);
    painter_.setFont(QGuiApplication::font());
    ascent_ = painter_.fontMetrics().ascent();
}

QPen QImageCanvas::Pen() const {
    QPen pen(pen_);
    pen.setWidth(1);
    pen.setCosmetic(true);
    return pen;
}

void QImageCanvas::SetPenColor(Rgb color) {
    pen_ = QColor(color.r, color.g, color.b);
    if (painter_.isActive()) painter_.setPen(Pen());
}

void QImageCanvas::MoveTo(int x, int y) { current_ = QPoint(x, y); }

void QImageCanvas::LineTo(int x, int y) {
    const QPoint from = current_;
    current_ = QPoint(x, y);
    if (image_.isNull()) return;
    if (!Direct(image_.format())) {
        Open open(*this);
        if (painter_.isActive()) painter_.drawLine(from, current_);
        return;
    }
    const LineRaster raster = painter_.isActive() ? raster_ : ImageRaster();
    raster.Draw(from.x(), from.y(), x, y, pen_.rgb());
}

void QImageCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    Open open(*this);
    if (!painter_.isActive()) return;
    // Corners more than a pixel outside the image move onto the line just
    // outside it: the visible fill and outline stay the same and the sizes
    // below cannot overflow. The outline runs on x1 .. x2-1, y1 .. y2-1.
    const int64_t w = image_.width();
    const int64_t h = image_.height();
    const int left = Near(x1, -1, w + 1);
    const int top = Near(y1, -1, h + 1);
    const int right = Near(x2, -1, w + 1);
    const int bottom = Near(y2, -1, h + 1);
    if (right <= left || bottom <= top) return;
    painter_.drawRect(left, top, right - left - 1, bottom - top - 1);
}

void QImageCanvas::TextOut(int x, int y, const char* text) {
    if (std::max(std::abs(int64_t{x}), std::abs(int64_t{y})) > kFar) return;
    Open open(*this);
    if (!painter_.isActive()) return;
    // Text has a colour of its own, not the pen's.
    painter_.setPen(text_);
    painter_.drawText(x, y + ascent_, QString::fromLatin1(text));
    painter_.setPen(Pen());
}

void QImageCanvas::SetTextColor(Rgb color) { text_ = QColor(color.r, color.g, color.b); }

}  // namespace velmora
