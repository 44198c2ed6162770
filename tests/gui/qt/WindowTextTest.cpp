// Every fixed text of the Qt window in full at the screen's scale, measured in its widget's
// font at the device's pixel size; at a scale of 1 the table as it stands. CTest runs it at 1
// and with QT_SCALE_FACTOR=1.5, as a display at 150 % has it.
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>

#include "app/ControlBinding.h"
#include "controls/DpiScale.h"
#include "gui/qt/ListBoxWidget.h"
#include "gui/qt/WindowFixture.h"

namespace velmora {
namespace {

double DeviceWidth(const QWidget& widget, const QString& text, qreal dpr) {
    QFont font = widget.font();
    font.setPixelSize(ToDevicePixels(font.pixelSize(), qRound(kDesignDpi * dpr)));
    return QFontMetricsF(font).horizontalAdvance(text) / dpr;
}

// The texts a widget shows, and the room it leaves them: a label paints a pixel in from
// either side, a button 2 (the tall one wraps its words), a list its row 2 in and 1
// before the end, a check box where the style puts the caption.
QStringList Texts(QWidget& widget, const BoundControl& bound) {
    if (auto* label = qobject_cast<QLineEdit*>(&widget)) return {label->text()};
    if (auto* box = qobject_cast<QCheckBox*>(&widget))
        return box->text().isEmpty() ? QStringList{} : QStringList{box->text()};
    if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        const bool wraps = widget.height() >= 2 * kListRowHeight;
        return wraps ? button->text().split(' ') : QStringList{button->text()};
    }
    QStringList entries;
    for (int i = 0; bound.list != nullptr && i < bound.list->Count(); ++i)
        entries << QString::fromLatin1(bound.list->Item(i).c_str());
    return entries;
}

int Room(QWidget& widget) {
    if (qobject_cast<QLineEdit*>(&widget)) return widget.width() - 2;
    if (qobject_cast<QPushButton*>(&widget)) return widget.width() - 4;
    if (auto* list = qobject_cast<ListBoxWidget*>(&widget)) return list->RowRect().width() - 3;
    auto& box = *qobject_cast<QCheckBox*>(&widget);
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    return box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box).width();
}

TEST(WindowTextTest, EveryLabelCaptionAndListEntryFitsItsWidgetAtTheScreensScale) {
    test::WindowFixture f;
    f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    const qreal dpr = f.Window().devicePixelRatioF();
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlPlacement& p = kControlLayout[i];
        SCOPED_TRACE(std::string(p.name));
        QWidget* widget = f.Find<QWidget>(std::string(p.name).c_str());
        ASSERT_NE(widget, nullptr);
        if (dpr == 1.0) {
            EXPECT_EQ(widget->geometry(), QRect(p.left, p.top, p.width, p.height));
        } else if (p.kind != ControlKind::EditBox && p.kind != ControlKind::Memo) {
            for (const QString& text : Texts(*widget, BindControl(p, f.Form())))
                EXPECT_LE(DeviceWidth(*widget, text, dpr), Room(*widget)) << text.toStdString();
        }
    }
}

}  // namespace
}  // namespace velmora
