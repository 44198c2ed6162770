#include "gui/qt/CheckBoxWidget.h"

#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace velmora {

CheckBoxWidget::CheckBoxWidget(CheckBox& model, const QString& caption, Dispatcher dispatch,
                               QWidget* parent)
    : QCheckBox(caption, parent), model_(model), dispatch_(std::move(dispatch)) {
    Mirror();
    model_.onChanged = [this] { Mirror(); };
    // `clicked` comes only from the user (mouse or space bar), never from setChecked.
    connect(this, &QCheckBox::clicked, this, [this] {
        dispatch_([this] { model_.UserClick(); });
        Mirror();  // the model has the last word, also when its handler threw
    });
}

// The style's box and spacing are what its layout leaves beside the caption.
int CheckBoxWidget::TextWidth(qreal dpr) const {
    if (text().isEmpty()) return 0;
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect caption = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    return DeviceTextWidth(font(), text(), dpr) + width() - caption.width();
}

void CheckBoxWidget::paintEvent(QPaintEvent* event) {
    QCheckBox::paintEvent(event);
    if (!text().isEmpty() || !hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

void CheckBoxWidget::Mirror() {
    const QSignalBlocker quiet(this);
    setChecked(model_.Checked());
}

}  // namespace velmora
