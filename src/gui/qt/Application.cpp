#include "gui/qt/Application.h"

#include <exception>

#include "gui/qt/QtErrorReporter.h"

namespace velmora {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QtErrorReporter().ShowError(e.what());
    } catch (...) {
        QtErrorReporter().ShowError("");
    }
    exit(0);
    return false;
}

}  // namespace velmora
