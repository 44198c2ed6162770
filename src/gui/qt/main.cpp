// Program entry: the application, its one window, the message loop.

#include <exception>

#include "app/ControlLayout.h"
#include "gui/qt/AppIcon.h"
#include "gui/qt/Application.h"
#include "gui/qt/MainWindow.h"
#include "gui/qt/QtErrorReporter.h"
#include "gui/qt/SignalCloser.h"
#include "system/Clock.h"
#include "system/posix/PosixSerialPorts.h"
#include "system/posix/PosixSettingsStore.h"

namespace {

int RunWindow(velmora::Application& app) {
    velmora::PosixSerialPorts ports;
    velmora::PosixSettingsStore settings;
    velmora::SteadyClock clock;
    velmora::QtErrorReporter errors;
    // The window is a top-level window of its own, so it carries the taskbar
    // button; the title shown there and in the error box is the application's.
    velmora::MainWindow window(ports, settings, clock, errors);
    velmora::SignalCloser closer(window, [&window] { window.CloseBySystem(); });
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
