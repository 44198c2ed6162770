#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <csignal>

#include "gui/qt/ListBoxWidget.h"
#include "gui/qt/SignalCloser.h"
#include "gui/qt/WindowFixture.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

// Start-up has run on one port; the timer is held so that only the test's
// own events reach the line.
class WindowEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        line = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
        f.Form().Timer1.SetEnabled(false);
        line->written.clear();
    }

    Lines LogTail(std::size_t n) {
        const Lines& all = f.Form().Display.Lines();
        return Lines(all.end() - static_cast<std::ptrdiff_t>(std::min(n, all.size())), all.end());
    }
    void ClickRow(ListBoxWidget* list) {
        QTest::mouseClick(list, Qt::LeftButton, {}, list->RowRect().center());
    }
    // Brings entry `index` into the row with the arrow strip, as a user would.
    void ScrollTo(ListBoxWidget* list, const ListBox& model, int index) {
        while (model.TopIndex() > index) {
            QTest::mouseClick(list, Qt::LeftButton, {}, list->UpArrowRect().center());
        }
        while (model.TopIndex() < index) {
            QTest::mouseClick(list, Qt::LeftButton, {}, list->DownArrowRect().center());
        }
    }

    test::WindowFixture f;
    std::shared_ptr<test::FakeLine> line;
};

TEST_F(WindowEventsTest, ClickOnAScaleEntrySelectsItAndSendsTheRange) {
    auto* scale = f.Find<ListBoxWidget>("Scale1");
    const std::size_t logged = f.Form().Display.Lines().size();
    ScrollTo(scale, f.Form().Scale1, 3);
    // Scrolling alone selects nothing and sends nothing.
    EXPECT_EQ(f.Form().Scale1.ItemIndex(), 7);
    EXPECT_EQ(f.Form().Display.Lines().size(), logged);
    EXPECT_EQ(scale->VisibleText(), QString::fromLatin1("\xB1"
                                                        "12 V"));

    ClickRow(scale);
    EXPECT_EQ(f.Form().Scale1.ItemIndex(), 3);
    EXPECT_EQ(LogTail(2), (Lines{"Range 3", "%X3\r"}));
    EXPECT_EQ(line->WrittenText(), "%X3\r");

    ClickRow(scale);  // the entry already selected counts as a click too
    EXPECT_EQ(line->WrittenText(), "%X3\r%X3\r");
    EXPECT_TRUE(f.errors.messages.empty());
}

TEST_F(WindowEventsTest, ArrowKeysSelectAndCountAsClicks) {
    auto* scale = f.Find<ListBoxWidget>("Scale2");
    QTest::keyClick(scale, Qt::Key_Up);
    EXPECT_EQ(f.Form().Scale2.ItemIndex(), 6);
    EXPECT_EQ(scale->VisibleText(), QString::fromLatin1("\xB1"
                                                        "2 V"));
    QTest::keyClick(scale, Qt::Key_Home);
    QTest::keyClick(scale, Qt::Key_Up);  // already the first: no click
    EXPECT_EQ(line->WrittenText(), "%Y6\r%Y0\r");
    QTest::keyClick(scale, Qt::Key_End);
    EXPECT_EQ(LogTail(2), (Lines{"Range 7", "%Y7\r"}));
}

TEST_F(WindowEventsTest, WheelMovesTheRowWithoutSelecting) {
    auto* sweep = f.Find<ListBoxWidget>("SweepSpeed");
    const QPointF at = sweep->RowRect().center();
    QWheelEvent up(at, sweep->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, {},
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(sweep, &up);
    EXPECT_EQ(sweep->VisibleText(), "XY Mode");
    EXPECT_EQ(f.Form().SweepSpeed.ItemIndex(), 1);
    EXPECT_TRUE(line->written.empty());
}

TEST_F(WindowEventsTest, SelectionByTheProgramShowsButSendsNothing) {
    auto* scale = f.Find<ListBoxWidget>("Scale1");
    const std::size_t logged = f.Form().Display.Lines().size();
    f.Form().Scale1.SetItemIndex(2);
    SettleListSelection(f.Form().Scale1);
    EXPECT_EQ(scale->VisibleText(), QString::fromLatin1("\xB1"
                                                        "16 V"));
    EXPECT_EQ(f.Form().Display.Lines().size(), logged);
    EXPECT_TRUE(line->written.empty());
}

TEST_F(WindowEventsTest, ProbeClickRelabelsTheScaleList) {
    auto* probe = f.Find<ListBoxWidget>("Chan1Probe");
    ScrollTo(probe, f.Form().Chan1Probe, 0);
    ClickRow(probe);
    EXPECT_EQ(probe->VisibleText(), "x10");
    EXPECT_EQ(f.Find<ListBoxWidget>("Scale1")->VisibleText(), QString::fromLatin1("\xB1"
                                                                                  "10 V"));
}

TEST_F(WindowEventsTest, DotButtonShowsAndHidesTheLog) {
    auto* button = f.Find<QPushButton>("Button1");
    auto* display = f.Find<QPlainTextEdit>("Display");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(display->isHidden());
    EXPECT_TRUE(f.Form().Display.Visible());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(display->isHidden());
}

TEST_F(WindowEventsTest, DigitsOnlyBoxesRefuseOtherTypedCharacters) {
    for (const char* name : {"Freq1", "Freq2", "Ampl1"}) {
        auto* edit = f.Find<QLineEdit>(name);
        const QString before = edit->text();
        QTest::keyClicks(edit, "4.V2");
        EXPECT_EQ(edit->text(), before + "42") << name;
    }
    EXPECT_EQ(f.Form().Freq1.Text(), "2000042");
    EXPECT_EQ(f.Form().Ampl1.Text(), "1.0042");  // the program's "1.00" stays
    auto* ampl2 = f.Find<QLineEdit>("Ampl2");
    QTest::keyClicks(ampl2, "4.V2");
    EXPECT_EQ(ampl2->text(), "1.004.V2");
    EXPECT_EQ(f.Form().Ampl2.Text(), "1.004.V2");
    QTest::keyClick(ampl2, Qt::Key_Backspace);
    EXPECT_EQ(f.Form().Ampl2.Text(), "1.004.V");
}

// A paste that holds anything typing would refuse is refused whole, never
// filtered into another number ("0.5 V" into "05", 6.6 times too much).
TEST_F(WindowEventsTest, APasteTypingWouldRefuseIsRefusedWhole) {
    const struct {
        const char* box;
        const char* pasted;
        bool selectAll;
        const char* after;
    } cases[] = {
        {"Freq2", "1 5.x7", false, "20000"},
        {"Freq2", "157", false, "20000157"},
        {"Ampl1", "0.5 V", true, "1.00"},
        {"Ampl1", "0.5", false, "1.00"},  // a second point
        {"Ampl1", "0.5", true, "0.5"},
        {"Ampl2", "1 5.x7", false, "1.001 5.x7"},  // any text: all of it
    };
    for (const auto& c : cases) {
        auto* edit = f.Find<QLineEdit>(c.box);
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        if (c.selectAll)
            edit->selectAll();
        else
            edit->end(false);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text().toStdString(), c.after) << c.pasted << " into " << c.box;
    }
    EXPECT_EQ(f.Form().Freq2.Text(), "20000157");
    EXPECT_EQ(f.Form().Ampl1.Text(), "0.5");
}

TEST_F(WindowEventsTest, EditTextSetByTheProgramIsShown) {
    f.Form().Freq2.SetText("1.5e3");
    EXPECT_EQ(f.Find<QLineEdit>("Freq2")->text(), "1.5e3");
}

TEST_F(WindowEventsTest, CheckBoxesFollowUserAndProgram) {
    auto* hold = f.Find<QCheckBox>("HoldBox");
    QTest::mouseClick(hold, Qt::LeftButton, {}, QPoint(6, hold->height() / 2));
    EXPECT_TRUE(f.Form().HoldBox.Checked());
    EXPECT_TRUE(hold->isChecked());
    f.Form().Fft1CheckBox.SetChecked(true);
    EXPECT_TRUE(f.Find<QCheckBox>("Fft1CheckBox")->isChecked());
    f.Form().Scope2CheckBox.SetChecked(false);
    EXPECT_FALSE(f.Find<QCheckBox>("Scope2CheckBox")->isChecked());
}

TEST_F(WindowEventsTest, AnErrorInAHandlerGoesToTheErrorBoxAndTheWindowCarriesOn) {
    auto* ampl2 = f.Find<QLineEdit>("Ampl2");
    QTest::keyClicks(ampl2, "x");
    auto* enable = f.Find<QCheckBox>("EnableB");
    QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(6, enable->height() / 2));
    EXPECT_EQ(f.errors.messages, (Lines{"'1.00x' is not a valid floating point value"}));
    EXPECT_EQ(enable->isChecked(), f.Form().EnableB.Checked());
    QTest::mouseClick(f.Find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_TRUE(f.Form().Display.Visible());
}

TEST_F(WindowEventsTest, RefreshRebuildsThePortListAndKeepsTheSelection) {
    f.ports.AddPort("ttyUSB0", "/dev/ttyUSB0");
    QTest::mouseClick(f.Find<QPushButton>("RefreshComm"), Qt::LeftButton);
    EXPECT_EQ(f.Form().ComPort.Count(), 2);
    auto* list = f.Find<ListBoxWidget>("ComPort");
    EXPECT_EQ(list->VisibleText(), "ttyACM0");
    ScrollTo(list, f.Form().ComPort, 1);
    EXPECT_EQ(list->VisibleText(), "ttyUSB0");
    EXPECT_EQ(f.Form().ComPort.ItemIndex(), 0);
}

TEST_F(WindowEventsTest, ScrollBarMovesRunTheSyncHandlerPerPosition) {
    auto* pos = f.Find<QScrollBar>("SyncPosBar");
    pos->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    pos->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(f.Form().SyncPosBar.Position(), 1026);
    EXPECT_EQ(line->WrittenText(), "%S11 1025    0\r%S11 1026    0\r");
    auto* volt = f.Find<QScrollBar>("SyncVoltBar");
    f.Form().SyncVoltBar.SetPosition(-5000);  // the program's value, clamped
    EXPECT_EQ(volt->value(), -2000);
    EXPECT_EQ(LogTail(1), (Lines{"%S11 1026 2000\r"}));
}

TEST_F(WindowEventsTest, ClickOnTheSurfaceDrawsThePatternAndRequestsAFrame) {
    MainWindow& window = f.Window();
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(700, 500));
    EXPECT_EQ(line->WrittenText(), "%z\r\n");
    EXPECT_EQ(window.Picture().pixel(500, 500), qRgb(0, 0, 255));  // the blue diagonal
    EXPECT_TRUE(f.errors.messages.empty());
}

TEST_F(WindowEventsTest, ClickOnAGreyedLabelFallsThroughToTheSurface) {
    QTest::mouseClick(f.Find<QWidget>("Edit1"), Qt::LeftButton);
    EXPECT_EQ(line->WrittenText(), "%z\r\n");
    line->written.clear();
    QTest::mouseClick(f.Find<QWidget>("Edit12"), Qt::LeftButton);  // enabled: its own click
    QTest::mouseClick(&f.Window(), Qt::RightButton, {}, QPoint(700, 500));
    EXPECT_TRUE(line->written.empty());
}

TEST_F(WindowEventsTest, ClosingRunsTheCloseHandler) {
    MainWindow& window = f.Window();
    window.show();
    f.settings.files.clear();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(f.settings.files["Config.Ini"].substr(0, 8), "SwpSp 1 ");
}

TEST_F(WindowEventsTest, TerminationSignalClosesTheWindowLikeTheUser) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        test::WindowFixture one;
        MainWindow& window = one.Window();
        window.show();
        one.settings.files.clear();
        {
            SignalCloser closer(window, [&window] { window.CloseBySystem(); });
            std::raise(signal);
            // The close arrives through the event loop, as soon as it reads the pipe.
            for (int i = 0; i < 100 && window.isVisible(); ++i) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            }
        }
        EXPECT_FALSE(window.isVisible()) << signal;
        EXPECT_FALSE(one.settings.files["Config.Ini"].empty());
    }
    // A settings file that cannot be written: the user who closes the window
    // is shown it; at a close by the system nobody is there to answer a box.
    test::WindowFixture byUser, bySystem;
    for (test::WindowFixture* w : {&byUser, &bySystem}) {
        w->Window().show();
        w->settings.readOnly = true;
    }
    byUser.Window().close();
    bySystem.Window().CloseBySystem();
    const std::string said = "Cannot save the settings in /home/u/Config.Ini: Permission denied";
    EXPECT_EQ(byUser.errors.messages, (std::vector<std::string>{said}));
    EXPECT_TRUE(bySystem.errors.messages.empty());
    EXPECT_EQ(bySystem.Form().Display.Lines().back(), said);
}

}  // namespace
}  // namespace velmora
