#include "QtLiveWindow.h"

#include <stdlib.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>

#include "LiveFigures.h"
#include "app/ControlLayout.h"
#include "gui/qt/Application.h"
#include "gui/qt/MainWindow.h"
#include "system/posix/PosixSerialPorts.h"
#include "system/posix/PosixSettingsStore.h"

namespace velmora::bench {
namespace {

// An error box would wait for a user who is not there: errors are printed.
class PrintedErrors final : public ErrorReporter {
  public:
    void ShowError(const std::string& message) override {
        std::fprintf(stderr, "error shown: %s\n", message.c_str());
        ++count;
    }
    int count = 0;
};

template <typename W>
W* Child(MainWindow& window, const char* name, int channel) {
    return window.findChild<W*>(QString::fromLatin1(name) + QString::number(channel));
}

// As a user does it: the waveform list's first entry, then the next one
// ("Sine") with the keyboard, the frequency typed over the box's text unless
// the window's own is kept, and a click in the enable box.
bool SwitchOnSine(MainWindow& window, int channel, const std::string& frequency) {
    auto* list = Child<QWidget>(window, "Waveform", channel);
    auto* edit = Child<QLineEdit>(window, "Freq", channel);
    auto* box = window.findChild<QCheckBox*>(channel == 1 ? "EnableA" : "EnableB");
    if (list == nullptr || edit == nullptr || box == nullptr) return false;
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    if (!frequency.empty()) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QString::fromStdString(frequency));
    }
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    return box->isChecked();
}

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Once frames come, the sine on both channels; then the frames already on
// their way when the generator changed go by. False with the reason printed.
bool SwitchOn(MainWindow& window, const LiveStage& stage, const std::string& frequency) {
    const auto frames = [&window] { return window.Form().Receive().framesReceived; };
    const auto sineOnBoth = [&stage] {
        return stage.CommandsReceived("G 0 1 ") == 1 && stage.CommandsReceived("G 1 1 ") == 1;
    };
    if (!QTest::qWaitFor([&] { return frames() >= 2; }, 10000)) {
        std::fprintf(stderr, "no frames from the instrument\n");
        return false;
    }
    if (!SwitchOnSine(window, 1, frequency) || !SwitchOnSine(window, 2, frequency) ||
        !QTest::qWaitFor(sineOnBoth, 5000)) {
        std::fprintf(stderr, "the generator did not take the sine on both channels\n");
        return false;
    }
    const uint32_t switched = frames();
    if (!QTest::qWaitFor([&] { return frames() >= switched + 2; }, 5000)) {
        std::fprintf(stderr, "frames stopped coming\n");
        return false;
    }
    return true;
}

// The window's own event loop for `seconds`, as the program runs it.
LiveFigures Measure(MainWindow& window, double seconds) {
    LiveFigures figures;
    const uint32_t first = window.Form().Receive().framesReceived;
    const double start = Now();
    figures.start = SampleOwnCpu();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
    figures.end = SampleOwnCpu();
    figures.seconds = Now() - start;
    figures.frames = window.Form().Receive().framesReceived - first;
    return figures;
}

}  // namespace

int RunQtWindow(LiveStage& stage, const LiveOptions& options, int argc, char** argv) {
    setenv("DISPLAY", stage.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    Application app(argc, argv);
    Application::setApplicationName(QString::fromLatin1(kApplicationTitle));
    PosixSerialPorts ports(PortDiscovery(stage.Folder() + "/no-sys"));
    PosixSettingsStore settings;
    SteadyClock clock;
    PrintedErrors errors;
    MainWindow window(ports, settings, clock, errors);
    window.showMaximized();
    if (!SwitchOn(window, stage, options.frequency)) return 1;
    LiveFigures figures = Measure(window, options.seconds);
    figures.window = "Qt window (xcb on Xvfb " + stage.Display() + ", client " +
                     std::to_string(window.width()) + " x " + std::to_string(window.height()) +
                     "), sine at " + window.Form().Freq1.Text() + " Hz on each channel";
    window.close();
    PrintFigures(figures);
    return errors.count == 0 ? 0 : 1;
}

}  // namespace velmora::bench
