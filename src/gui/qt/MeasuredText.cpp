#include "gui/qt/MeasuredText.h"

#include <QFontMetricsF>
#include <cmath>

#include "controls/DpiScale.h"

namespace velmora {

int MeasuredText::DeviceTextWidth(const QFont& font, const QString& text, qreal dpr) {
    if (text.isEmpty() || dpr <= 0) return 0;
    QFont device(font);
    if (font.pixelSize() > 0) {
        device.setPixelSize(ToDevicePixels(font.pixelSize(), qRound(kDesignDpi * dpr)));
    } else {
        device.setPointSizeF(font.pointSizeF() * dpr);
    }
    return static_cast<int>(std::ceil(QFontMetricsF(device).horizontalAdvance(text) / dpr));
}

}  // namespace velmora
