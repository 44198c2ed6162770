#include "gui/qt/ButtonWidget.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace velmora {
namespace {

constexpr int kCaptionMargin = 2;

}  // namespace

ButtonWidget::ButtonWidget(const QString& caption, std::function<void()> onClick,
                           Dispatcher dispatch, QWidget* parent)
    : QPushButton(caption, parent), onClick_(std::move(onClick)), dispatch_(std::move(dispatch)) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { dispatch_(onClick_); });
}

void ButtonWidget::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QRect area = rect().adjusted(kCaptionMargin, kCaptionMargin, -kCaptionMargin, -kCaptionMargin);
    if (isDown()) area.translate(1, 1);  // the caption sinks with the button
    style()->drawItemText(&painter, area, Qt::AlignCenter | (Wraps(area) ? Qt::TextWordWrap : 0),
                          palette(), isEnabled(), text(), QPalette::ButtonText);
}

// Only a button tall enough for two lines wraps its caption.
bool ButtonWidget::Wraps(const QRect& area) const {
    return area.height() >= 2 * fontMetrics().height();
}

int ButtonWidget::TextWidth(qreal dpr) const {
    const QRect area =
        rect().adjusted(kCaptionMargin, kCaptionMargin, -kCaptionMargin, -kCaptionMargin);
    int widest = 0;
    const QStringList parts = Wraps(area) ? text().split(QLatin1Char(' ')) : QStringList{text()};
    for (const QString& part : parts) widest = std::max(widest, DeviceTextWidth(font(), part, dpr));
    return widest + 2 * kCaptionMargin;
}

}  // namespace velmora
