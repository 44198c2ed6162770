// Program entry: the application, its one window, the message loop.

#include <exception>

#include "app/ControlLayout.h"
#include "platform/Clock.h"
#include "platform/posix/PosixSerialPorts.h"
#include "platform/posix/PosixSettingsStore.h"
#include "platform/qt/AppIcon.h"
#include "platform/qt/Application.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/QtErrorReporter.h"
#include "platform/qt/SignalCloser.h"

namespace {

int RunWindow(velmora::Application& app) {
    velmora::PosixSerialPorts ports;
    velmora::PosixSettingsStore settings;
    velmora::SteadyClock clock;
    velmora::QtErrorReporter errors;
    // The window is a top-level window of its own, so it carries the taskbar
    // button; the title shown there and in the error box is the application's.
    velmora::MainWindow window(ports, settings, clock, errors);
    velmora::SignalCloser closer(window);
    window.showMaximized();
    app.exec();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    velmora::Application app(argc, argv);
    velmora::Application::setApplicationName(QString::fromLatin1(velmora::kApplicationTitle));
    velmora::Application::setWindowIcon(velmora::LoadAppIcon());
    // Wayland shells find the window's icon and menu entry through the name of
    // the installed desktop entry, not through the window icon.
    velmora::Application::setDesktopFileName(QStringLiteral("org.velmora.Velmora"));
    try {
        return RunWindow(app);
    } catch (const std::exception& e) {
        velmora::QtErrorReporter().ShowError(e.what());
    } catch (...) {
        velmora::QtErrorReporter().ShowError("");
    }
    return 0;
}
