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
    rasterOpen_ = Direct(image_.format());
}

void QImageCanvas::End() {
    raster_ = LineRaster();
    rasterOpen_ = false;
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

QRect QImageCanvas::TakeDrawnArea() {
    const Bounds drawn = drawn_;
    drawn_ = Bounds();
    const int left = std::max(drawn.left, 0);
    const int top = std::max(drawn.top, 0);
    const int right = std::min(drawn.right, image_.width() - 1);
    const int bottom = std::min(drawn.bottom, image_.height() - 1);
    if (left > right || top > bottom) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void QImageCanvas::LineTo(int x, int y) {
    const QPoint from = current_;
    current_ = QPoint(x, y);
    // The thousands of segments of a trace take the short way.
    if (rasterOpen_) {
        Drawn(from.x(), from.y(), x, y);
        raster_.Draw(from.x(), from.y(), x, y, penPixel_);
        return;
    }
    if (image_.isNull()) return;
    Drawn(from.x(), from.y(), x, y);
    if (!Direct(image_.format())) {
        Open open(*this);
        if (painter_.isActive()) painter_.drawLine(from, current_);
        return;
    }
    const LineRaster raster = painter_.isActive() ? raster_ : ImageRaster();
    raster.Draw(from.x(), from.y(), x, y, penPixel_);
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
    Drawn(left, top, right - 1, bottom - 1);
    if (rasterOpen_) return FillBox(left, top, right, bottom);
    painter_.drawRect(left, top, right - left - 1, bottom - top - 1);
}

// What the painter's drawRect(left, top, right - left - 1, bottom - top - 1)
// leaves with the white brush and the one-pixel pen, written straight into
// the pixels (the clear of every redraw is the whole picture): the outline on
// columns left and right - 1 and rows top and bottom - 1, white inside. The
// box may overhang the image by a pixel on each side. A box of one pixel is a
// rectangle of no size to the painter, which draws nothing.
void QImageCanvas::FillBox(int left, int top, int right, int bottom) {
    constexpr uint32_t kWhite = 0xffffffff;
    if (right - left == 1 && bottom - top == 1) return;
    const int width = image_.width();
    const int first = std::max(top, 0);
    const int last = std::min(bottom, image_.height());  // rows first .. last - 1
    const int from = std::max(left, 0);
    const int to = std::min(right, width);  // columns from .. to - 1
    auto* const pixels = reinterpret_cast<uint32_t*>(image_.bits());
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(uint32_t));
    for (int y = first; y < last; ++y) {
        uint32_t* const line = pixels + y * stride;
        const bool edge = y == top || y == bottom - 1;
        std::fill(line + from, line + to, edge ? penPixel_ : kWhite);
        if (edge) continue;
        if (left >= 0 && left < width) line[left] = penPixel_;
        if (right - 1 >= 0 && right - 1 < width) line[right - 1] = penPixel_;
    }
}

void QImageCanvas::TextOut(int x, int y, const char* text) {
    if (std::max(std::abs(int64_t{x}), std::abs(int64_t{y})) > kFar) return;
    Open open(*this);
    if (!painter_.isActive()) return;
    QRect written;
    if (rasterOpen_ && text != nullptr &&
        stamps_.Draw(image_, x, y, text, text_.rgb(), painter_.font(), written)) {
        if (!written.isEmpty()) Drawn(written.left(), written.top(), written.right(), written.bottom());
        return;
    }
    PaintText(x, y, text);
}

void QImageCanvas::PaintText(int x, int y, const char* text) {
    // Text has a colour of its own, not the pen's.
    painter_.setPen(text_);
    painter_.drawText(x, y + ascent_, QString::fromLatin1(text));
    painter_.setPen(Pen());
    // No wider than its characters at the font's widest; measuring it would
    // lay the text out a second time.
    const int64_t length = text == nullptr ? 0 : static_cast<int64_t>(std::strlen(text));
    Drawn(x, y, Near(x + length * widestCharacter_, x, INT_MAX),
          Near(y + int64_t{textHeight_}, y, INT_MAX));
}

void QImageCanvas::SetTextColor(Rgb color) { text_ = QColor(color.r, color.g, color.b); }

}  // namespace velmora
