#include "gui/qt/ControlBackdrops.h"

#include <QWidget>
#include <cstring>

namespace velmora {
namespace {

// A control that paints every pixel of its rectangle hides the picture under
// it: its look does not depend on it. Those of this window say so with the
// attribute, or fill their background with one of the palette's solid brushes.
bool Opaque(const QWidget& control) {
    return control.testAttribute(Qt::WA_OpaquePaintEvent) || control.autoFillBackground();
}

}  // namespace

QRegion ControlBackdrops::Changed(const QImage& picture, const QRegion& drawn,
                                  const QWidget& window) {
    QRegion region(drawn);
    for (const QObject* child : window.children()) {
        const auto* control = qobject_cast<const QWidget*>(child);
        if (control == nullptr || control->isWindow() || !control->isVisible()) continue;
        const QRect area = control->geometry() & picture.rect();
        if (!drawn.intersects(area)) continue;
        if (Opaque(*control) || Unchanged(picture, area, shown_[control])) {
            region -= control->geometry();
        }
    }
    return region;
}

// Compared line by line; a backdrop that differs, or was never taken at this
// place, is taken again (memory is allocated only when the place changes).
bool ControlBackdrops::Unchanged(const QImage& picture, const QRect& area, Backdrop& backdrop) {
    if (backdrop.area != area || backdrop.pixels.format() != picture.format()) {
        backdrop = Backdrop{area, picture.copy(area)};
        return false;
    }
    const qsizetype offset = static_cast<qsizetype>(area.x()) * picture.depth() / 8;
    const std::size_t bytes = static_cast<std::size_t>(area.width()) * picture.depth() / 8;
    bool same = true;
    for (int row = 0; row < area.height(); ++row) {
        const uchar* now = picture.constScanLine(area.y() + row) + offset;
        uchar* shown = backdrop.pixels.scanLine(row);
        if (std::memcmp(now, shown, bytes) == 0) continue;
        std::memcpy(shown, now, bytes);
        same = false;
    }
    return same;
}

}  // namespace velmora
