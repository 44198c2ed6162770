#include "gui/qt/TextStamps.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstring>

namespace velmora {
namespace {

// Two grounds no label uses: a pixel that comes out the same on both belongs
// to the text; one that keeps its ground was not touched.
constexpr QRgb kGroundA = 0xff123456;
constexpr QRgb kGroundB = 0xff654321;

QImage Rendered(const QImage& picture, const std::string& text, QRgb colour, const QFont& font,
                QSize size, int margin, QRgb ground) {
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(picture.dotsPerMeterX());
    image.setDotsPerMeterY(picture.dotsPerMeterY());
    image.fill(ground);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(colour));
    painter.setBrush(Qt::white);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setFont(font);
    painter.drawText(margin, margin + painter.fontMetrics().ascent(), QString::fromLatin1(text));
    return image;
}

// The bounds of what the text wrote, or an empty rectangle when some pixel
// depends on the ground, or the rectangle holds a pixel it left alone.
QRect OwnedArea(const QImage& a, const QImage& b) {
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const bool untouched = rowA[x] == kGroundA && rowB[x] == kGroundB;
            if (untouched) continue;
            if (rowA[x] != rowB[x]) return {};
            area |= QRect(x, y, 1, 1);
        }
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (rowA[x] == kGroundA) return {};
        }
    }
    return area;
}

}  // namespace

TextStamps::Stamp TextStamps::Make(const QImage& picture, const std::string& text, QRgb colour,
                                   const QFont& font) {
    const QFontMetrics metrics(font, &picture);
    // Wide enough that glyphs overhanging their advance stay inside.
    const int margin = metrics.height();
    const QSize size(static_cast<int>(text.size()) * metrics.maxWidth() + 2 * margin,
                     metrics.height() + 2 * margin);
    const QImage a = Rendered(picture, text, colour, font, size, margin, kGroundA);
    const QImage b = Rendered(picture, text, colour, font, size, margin, kGroundB);
    Stamp stamp;
    const QRect area = OwnedArea(a, b);
    const QRect inner(1, 1, size.width() - 2, size.height() - 2);
    if (area.isEmpty() || !inner.contains(area)) return stamp;
    stamp.usable = true;
    stamp.offset = area.topLeft() - QPoint(margin, margin);
    stamp.pixels = a.copy(area);
    return stamp;
}

void TextStamps::StartAfresh(const QImage& picture, const QFont& font) {
    const QSize dotsPerMeter(picture.dotsPerMeterX(), picture.dotsPerMeterY());
    if (font == font_ && dotsPerMeter == dotsPerMeter_ && stamps_.size() < kMostStamps) return;
    stamps_.clear();
    font_ = font;
    dotsPerMeter_ = dotsPerMeter;
}

bool TextStamps::Draw(QImage& picture, const QRect& clip, int x, int y, const std::string& text,
                      QRgb colour, const QFont& font, QRect& written) {
    if (picture.format() != QImage::Format_RGB32 || text.size() > 256) return false;
    StartAfresh(picture, font);
    auto found = stamps_.find({colour, text});
    if (found == stamps_.end()) {
        found = stamps_.emplace(std::pair{colour, text}, Make(picture, text, colour, font)).first;
    }
    const Stamp& stamp = found->second;
    if (!stamp.usable) return false;
    written = QRect(QPoint(x, y) + stamp.offset, stamp.pixels.size());
    const QRect shown = written & clip & picture.rect();
    if (shown.isEmpty()) return true;
    const int from = shown.left() - written.left();
    const auto bytes = static_cast<std::size_t>(shown.width()) * sizeof(QRgb);
    uchar* const pixels = picture.bits();
    for (int row = shown.top(); row <= shown.bottom(); ++row) {
        const uchar* source = stamp.pixels.constScanLine(row - written.top()) + from * sizeof(QRgb);
        std::memcpy(pixels + row * picture.bytesPerLine() + shown.left() * sizeof(QRgb), source,
                    bytes);
    }
    return true;
}

}  // namespace velmora
