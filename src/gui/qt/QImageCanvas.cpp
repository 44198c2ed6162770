#include "gui/qt/QImageCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPen>
#include <QString>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace velmora {
namespace {

// Qt lays text out in 26.6 fixed point, which holds about +-2^25 pixels; text
// placed further out than this cannot reach into any image and is skipped.
constexpr int64_t kFar = int64_t{1} << 22;

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
    // Anything else that wrote to the image (or replaced it) changed its key.
    if (image_.cacheKey() != keyAtEnd_) record_.Distrust();
    painter_.begin(&image_);
    Setup();
    if (painter_.font() != shownFont_) {
        record_.Distrust();
        shownFont_ = painter_.font();
    }
    // The painter has detached the image and a copy taken while it is open is
    // a deep one, so its pixels stay the image's own until End().
    rasterOpen_ = Direct(image_.format());
    pixels_ = rasterOpen_ ? reinterpret_cast<uint32_t*>(image_.bits()) : nullptr;
    stride_ = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(uint32_t));
}

void QImageCanvas::End() {
    if (rasterOpen_) Flush();
    rasterOpen_ = false;
    pixels_ = nullptr;
    if (painter_.isActive()) painter_.end();
    keyAtEnd_ = image_.cacheKey();
}

// bits() detaches a shared image, so a line outside Begin() and End() asks
// for it once.
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
    const QFontMetrics metrics = painter_.fontMetrics();
    ascent_ = metrics.ascent();
    textHeight_ = metrics.height();
    widestCharacter_ = metrics.maxWidth();
}

QPen QImageCanvas::Pen() const {
    QPen pen(pen_);
    pen.setWidth(1);
    pen.setCosmetic(true);
    return pen;
}

void QImageCanvas::SetPenColor(Rgb color) {
    pen_ = QColor(color.r, color.g, color.b);
    penPixel_ = pen_.rgb();
    if (painter_.isActive()) painter_.setPen(Pen());
}

void QImageCanvas::MoveTo(int x, int y) { current_ = QPoint(x, y); }

QRegion QImageCanvas::TakeDrawnArea() {
    const Bounds drawn = drawn_;
    drawn_ = Bounds();
    QRegion area;
    area.swap(changed_);
    const int left = std::max(drawn.left, 0);
    const int top = std::max(drawn.top, 0);
    const int right = std::min(drawn.right, image_.width() - 1);
    const int bottom = std::min(drawn.bottom, image_.height() - 1);
    if (left > right || top > bottom) return area;
    return area.united(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void QImageCanvas::LineTo(int x, int y) {
    const QPoint from = current_;
    current_ = QPoint(x, y);
    // The thousands of segments of a trace take the short way.
    if (rasterOpen_) return Record(DrawOp{DrawOp::Kind::Line, penPixel_, from.x(), from.y(), x, y});
    if (image_.isNull()) return;
    Drawn(from.x(), from.y(), x, y);
    if (!Direct(image_.format())) {
        Open open(*this);
        if (painter_.isActive()) painter_.drawLine(from, current_);
        return;
    }
    ImageRaster().Draw(from.x(), from.y(), x, y, penPixel_);
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
    if (rasterOpen_) {
        // A box of one pixel is a rectangle of no size to the painter, which
        // draws nothing.
        if (right - left == 1 && bottom - top == 1) return;
        return Record(DrawOp{DrawOp::Kind::Box, penPixel_, left, top, right, bottom});
    }
    Drawn(left, top, right - 1, bottom - 1);
    painter_.drawRect(left, top, right - left - 1, bottom - top - 1);
}

void QImageCanvas::TextOut(int x, int y, const char* text) {
    if (std::max(std::abs(int64_t{x}), std::abs(int64_t{y})) > kFar) return;
    Open open(*this);
    if (!painter_.isActive()) return;
    const DrawOp op{DrawOp::Kind::Text, text_.rgb(), x, y};
    const std::string_view characters = text == nullptr ? std::string_view() : text;
    if (rasterOpen_) return Record(op, characters);
    PaintClippedText(op, characters, image_.rect(), true);
}

void QImageCanvas::SetTextColor(Rgb color) { text_ = QColor(color.r, color.g, color.b); }

TextExtent QImageCanvas::MeasureText(const char* text) {
    const QFontMetrics metrics(QGuiApplication::font(), &image_);
    return {metrics.horizontalAdvance(QString::fromLatin1(text == nullptr ? "" : text)),
            metrics.height()};
}

}  // namespace velmora
