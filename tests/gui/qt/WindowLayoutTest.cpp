#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>

#include "app/ControlLayout.h"
#include "gui/qt/ListBoxWidget.h"
#include "gui/qt/WindowFixture.h"
#include "link/FrameFormat.h"

namespace velmora {
namespace {

using test::Latin1;

QString Text(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Screenshots go next to the build's test programs, for people to look at.
void SaveShot(QWidget& widget, const char* file) {
    QDir dir(QCoreApplication::applicationDirPath() + "/../artifacts");
    dir.mkpath(".");
    EXPECT_TRUE(widget.grab().save(dir.filePath(file)));
}

class WindowLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f.ports.AddPort("ttyS0", "/dev/ttyS0");
        f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    }
    test::WindowFixture f;
};

TEST_F(WindowLayoutTest, EveryControlSitsAtItsDesignPlaceWithItsKind) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlPlacement& control = kControlLayout[i];
        QWidget* widget = f.Find<QWidget>(std::string(control.name).c_str());
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(),
                  QRect(control.left, control.top, control.width, control.height))
            << control.name;
        const bool kindMatches =
            (control.kind == ControlKind::ListBox && qobject_cast<ListBoxWidget*>(widget)) ||
            (control.kind == ControlKind::CheckBox && qobject_cast<QCheckBox*>(widget)) ||
            (control.kind == ControlKind::EditBox && qobject_cast<QLineEdit*>(widget)) ||
            (control.kind == ControlKind::Label && qobject_cast<QLineEdit*>(widget)) ||
            (control.kind == ControlKind::Button && qobject_cast<QPushButton*>(widget)) ||
            (control.kind == ControlKind::Memo && qobject_cast<QPlainTextEdit*>(widget));
        EXPECT_TRUE(kindMatches) << control.name;
    }
}

TEST_F(WindowLayoutTest, CaptionsLabelsAndEditTextsAreTheDesignOnes) {
    for (const char* name : {"RefreshComm", "Defaults", "Button1"}) {
        EXPECT_EQ(f.Find<QPushButton>(name)->text(), Text(FindControl(name)->text)) << name;
    }
    EXPECT_EQ(f.Find<QCheckBox>("HoldBox")->text(), "Hold");
    EXPECT_EQ(f.Find<QCheckBox>("EnableA")->text(), "Enable A");
    EXPECT_EQ(f.Find<QCheckBox>("Scope1CheckBox")->text(), "");
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlPlacement& control = kControlLayout[i];
        if (control.kind != ControlKind::Label) continue;
        auto* label = f.Find<QLineEdit>(std::string(control.name).c_str());
        EXPECT_EQ(label->text(), Text(control.text));
        EXPECT_EQ(label->isEnabled(), control.enabled) << control.name;
        EXPECT_TRUE(label->isReadOnly());
        EXPECT_FALSE(label->hasFrame());
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
                  control.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft)
            << control.name;
    }
    EXPECT_FALSE(f.Find<QLineEdit>("Edit11")->isEnabled());
    EXPECT_TRUE(f.Find<QLineEdit>("Edit12")->isEnabled());
    EXPECT_EQ(f.Find<QLineEdit>("Freq1")->text(), "20000");
    EXPECT_EQ(f.Find<QLineEdit>("Freq2")->text(), "20000");
    EXPECT_EQ(f.Find<QLineEdit>("Ampl1")->text(), "1.00");
    EXPECT_EQ(f.Find<QLineEdit>("Ampl2")->text(), "1.00");
}

TEST_F(WindowLayoutTest, ListsShowTheirStartUpSelectionAsTheOneRow) {
    const auto shown = [&](const char* name) { return f.Find<ListBoxWidget>(name)->VisibleText(); };
    EXPECT_EQ(shown("SweepSpeed"), "2 mSec/div");
    EXPECT_EQ(shown("SyncSrcBox"), "Ch2");
    EXPECT_EQ(shown("SyncPolBox"), "Fall");
    EXPECT_EQ(shown("Chan1Probe"), "x1");
    EXPECT_EQ(shown("Chan2Probe"), "x1");
    EXPECT_EQ(shown("Scale1"), QString::fromLatin1("\xB1"
                                                   "1 V"));
    EXPECT_EQ(shown("Scale2"), QString::fromLatin1("\xB1"
                                                   "1 V"));
    EXPECT_EQ(shown("ComPort"), "ttyACM0");
    EXPECT_EQ(shown("Waveform1"), "Off");  // nothing selected: the first entry shows
    // The one row is a list entry high, inside the frame.
    auto* scale = f.Find<ListBoxWidget>("Scale1");
    EXPECT_EQ(scale->RowRect().height(), kListRowHeight);
    EXPECT_TRUE(scale->rect().contains(scale->DownArrowRect()));
}

TEST_F(WindowLayoutTest, ScrollBarsAreDockedWithTheirRangesAndHints) {
    auto* volt = f.Find<QScrollBar>("SyncVoltBar");
    auto* pos = f.Find<QScrollBar>("SyncPosBar");
    EXPECT_EQ(volt->orientation(), Qt::Vertical);
    EXPECT_EQ(volt->geometry(), QRect(3, 3, 10, kClientHeight - kSyncPosBarHeight - 6));
    EXPECT_EQ(std::tuple(volt->minimum(), volt->maximum(), volt->value()),
              std::tuple(-2000, 2000, 0));
    EXPECT_EQ(volt->toolTip(), "Sync Level");
    EXPECT_EQ(pos->orientation(), Qt::Horizontal);
    EXPECT_EQ(pos->geometry(), QRect(0, kClientHeight - 11, kClientWidth, 11));
    EXPECT_EQ(std::tuple(pos->minimum(), pos->maximum(), pos->value()), std::tuple(0, 2048, 1024));
    EXPECT_EQ(pos->toolTip(), "Sync Position");
}

TEST_F(WindowLayoutTest, WindowCaptionFontsIconAndHiddenLog) {
    MainWindow& window = f.Window();
    EXPECT_EQ(window.windowTitle(), "Velmora Rev 1.31 Nov 25 2025 16:05:18");
    EXPECT_EQ(window.size(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(window.font().pixelSize(), 11);
    EXPECT_FALSE(window.windowIcon().isNull());
    auto* display = f.Find<QPlainTextEdit>("Display");
    EXPECT_TRUE(display->isHidden());
    EXPECT_EQ(display->font().pixelSize(), 13);
    EXPECT_EQ(f.Find<QPushButton>("RefreshComm")->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(f.Find<QPushButton>("Defaults")->focusPolicy(), Qt::StrongFocus);
}

TEST_F(WindowLayoutTest, LogShowsEveryLineWithoutItsLineEnd) {
    f.Window();
    QStringList expected;
    for (std::string line : f.Form().Display.Lines()) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        expected << Latin1(line);
    }
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_NE(expected.first(), "Display");
    EXPECT_EQ(f.Find<QPlainTextEdit>("Display")->toPlainText(), expected.join('\n'));
}

TEST_F(WindowLayoutTest, ResizeKeepsThePictureAndDocksTheBars) {
    MainWindow& window = f.Window();
    window.show();
    window.Form().Timer1.SetEnabled(false);
    window.Picture().fill(qRgb(0, 0, 255));
    const QImage before = window.Picture().copy(0, 0, 400, 400);
    window.resize(1700, 950);
    EXPECT_EQ(window.Picture().size(), QSize(1700, 950));
    EXPECT_EQ(window.Picture().copy(0, 0, 400, 400), before);
    EXPECT_EQ(window.Picture().pixelColor(1650, 920), window.palette().color(QPalette::Window));
    EXPECT_EQ(window.Form().Form.ClientWidth(), 1700);
    EXPECT_EQ(window.Form().Form.ClientHeight(), 950);
    EXPECT_EQ(f.Find<QScrollBar>("SyncPosBar")->geometry(), QRect(0, 939, 1700, 11));
    EXPECT_EQ(f.Find<QScrollBar>("SyncVoltBar")->geometry(), QRect(3, 3, 10, 933));
}

TEST_F(WindowLayoutTest, Screenshots) {
    MainWindow& window = f.Window();
    window.Form().Timer1.SetEnabled(false);
    window.show();
    SaveShot(window, "window.png");
    const QPixmap block = window.grab(QRect(0, 0, 480, 190));
    EXPECT_TRUE(
        block.scaled(block.size() * 3)
            .save(QCoreApplication::applicationDirPath() + "/../artifacts/window-controls-x3.png"));
    f.Find<QPushButton>("Button1")->click();
    window.Form().ScreenClick();
    SaveShot(window, "window-log.png");
    EXPECT_TRUE(window.windowIcon().pixmap(64).save(QCoreApplication::applicationDirPath() +
                                                    "/../artifacts/icon-64.png"));
}

// One frame of the instrument: a sine on channel 1, a triangle on channel 2.
std::vector<uint8_t> TestFrame() {
    std::vector<uint8_t> bytes(kFrameBytes, 0);
    std::copy(kFrameMarker.begin(), kFrameMarker.end(), bytes.begin());
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        const auto ch1 = static_cast<int16_t>(1500 * std::sin(static_cast<double>(i) * 0.0491));
        const auto ch2 = static_cast<int16_t>(static_cast<int>(i % 256) * 8 - 1024);
        uint8_t* pair = &bytes[kHeaderBytes + i * kPairBytes];
        pair[0] = static_cast<uint8_t>(ch1 & 0xFF);
        pair[1] = static_cast<uint8_t>((ch1 >> 8) & 0xFF);
        pair[2] = static_cast<uint8_t>(ch2 & 0xFF);
        pair[3] = static_cast<uint8_t>((ch2 >> 8) & 0xFF);
    }
    return bytes;
}

TEST_F(WindowLayoutTest, AFrameIsDrawnIntoTheWindowPicture) {
    test::WindowFixture g;
    auto line = g.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    MainWindow& window = g.Window();
    window.Form().Timer1.SetEnabled(false);
    window.Form().Fft1CheckBox.SetChecked(true);
    window.show();
    line->Feed(TestFrame());
    for (int tick = 0; tick < 3; ++tick) window.Form().Timer1Timer();
    // The plot is cleared white: the picture no longer shows the background.
    EXPECT_EQ(window.Picture().pixel(kClientWidth / 2, kClientHeight - 40), qRgb(255, 255, 255));
    SaveShot(window, "window-frame.png");
}

}  // namespace
}  // namespace velmora
