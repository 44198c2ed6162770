#include "gui/qt/LabelBox.h"

#include <QPainter>

namespace velmora {
namespace {

constexpr int kTextInset = 1;  // on either side

}  // namespace

LabelBox::LabelBox(const ControlPlacement& control, QWidget* parent) : QLineEdit(parent) {
    setText(QString::fromLatin1(control.text.data(), static_cast<qsizetype>(control.text.size())));
    setFrame(false);
    setReadOnly(true);
    setEnabled(control.enabled);
    setAlignment((control.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft) |
                 Qt::AlignVCenter);
    setTextMargins(0, 0, 0, 0);
    setContentsMargins(0, 0, 0, 0);
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Base, colours.color(group, QPalette::Window));
    }
    // Greyed, but as readable as the system's grey text: halfway and a bit
    // from the background towards the text colour.
    const QColor text = colours.color(QPalette::Active, QPalette::WindowText);
    const QColor back = colours.color(QPalette::Active, QPalette::Window);
    const auto mix = [](int t, int b) { return (t * 11 + b * 9) / 20; };
    colours.setColor(QPalette::Disabled, QPalette::Text,
                     QColor(mix(text.red(), back.red()), mix(text.green(), back.green()),
                            mix(text.blue(), back.blue())));
    setPalette(colours);
    setCursorPosition(0);
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent fills the whole box
}

void LabelBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    painter.fillRect(rect(), palette().color(group, QPalette::Base));
    painter.setPen(palette().color(group, QPalette::Text));
    painter.drawText(rect().adjusted(kTextInset, 0, -kTextInset, 0), alignment(), text());
}

int LabelBox::TextWidth(qreal dpr) const {
    return DeviceTextWidth(font(), text(), dpr) + 2 * kTextInset;
}

}  // namespace velmora
