#include "gui/qt/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resource lives in a static library, so it must be registered by hand.
static void InitVelmoraResources() { Q_INIT_RESOURCE(velmora); }

namespace velmora {

QIcon LoadAppIcon() {
    InitVelmoraResources();
    QSvgRenderer renderer(QStringLiteral(":/velmora/velmora.svg"));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace velmora
