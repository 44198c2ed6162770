#pragma once

#include <QApplication>

namespace velmora {

// The application object. An error that escapes an event outside the form's
// own dispatcher (the binding itself) is shown in the error box, and the
// program then ends its message loop with exit code 0.
class Application final : public QApplication {
    Q_OBJECT

  public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace velmora
