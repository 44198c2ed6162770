// Every fixed text of the Qt window in full at the screen's scale, measured
// in its widget's font at the device's pixel size; at a scale of 1 the table
// as it stands. CTest runs it at 1 and again with QT_SCALE_FACTOR=1.5, as a
// display at 150 % has it (velmora_gui_qt_tests_at_150_percent).
#include <QCheckBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <cmath>

#include "app/ControlBinding.h"
#include "controls/DpiScale.h"
#include "gui/qt/ListBoxWidget.h"
#include "gui/qt/WindowFixture.h"

namespace velmora {
namespace {

// The text in the widget's font at the device's pixel size, in logical pixels.
double DeviceWidth(const QWidget& widget, const QString& text, qreal dpr) {
    QFont font = widget.font();
    font.setPixelSize(ToDevicePixels(font.pixelSize(), qRound(kDesignDpi * dpr)));
    return QFontMetricsF(font).horizontalAdvance(text) / dpr;
}

void ExpectTextsFit(QWidget& widget, const BoundControl& bound, qreal dpr) {
    switch (bound.placement.kind) {
        case ControlKind::Label: {  // painted a pixel in from either side
            const QString text = qobject_cast<QLineEdit*>(&widget)->text();
            EXPECT_LE(DeviceWidth(widget, text, dpr), widget.width() - 2);
            break;
        }
        case ControlKind::CheckBox: {  // where the style puts the caption
            auto& box = *qobject_cast<QCheckBox*>(&widget);
            if (box.text().isEmpty()) break;
            QStyleOptionButton option;
            option.initFrom(&box);
            option.text = box.text();
            const QRect room =
                box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box);
            EXPECT_LE(DeviceWidth(widget, box.text(), dpr), room.width());
            break;
        }
        case ControlKind::Button: {  // 2 pixels of margin; the tall one wraps its words
            const QString text = qobject_cast<QPushButton*>(&widget)->text();
            const bool wraps = widget.height() >= 2 * kListRowHeight;
            for (const QString& part : wraps ? text.split(' ') : QStringList{text}) {
                EXPECT_LE(DeviceWidth(widget, part, dpr), widget.width() - 4) << part.toStdString();
            }
            break;
        }
        case ControlKind::ListBox: {  // every entry in the row, 2 pixels in and 1 before its end
            const int room = qobject_cast<ListBoxWidget*>(&widget)->RowRect().width() - 3;
            ASSERT_GT(bound.list->Count(), 0);
            for (int i = 0; i < bound.list->Count(); ++i) {
                const QString entry = QString::fromLatin1(bound.list->Item(i).c_str());
                EXPECT_LE(DeviceWidth(widget, entry, dpr), room) << bound.list->Item(i);
            }
            break;
        }
        case ControlKind::EditBox:  // the user's texts
        case ControlKind::Memo:
            break;
    }
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
        } else {
            ExpectTextsFit(*widget, BindControl(p, f.Form()), dpr);
        }
    }
}

}  // namespace
}  // namespace velmora
