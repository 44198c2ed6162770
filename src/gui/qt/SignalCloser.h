#pragma once

#include <QObject>
#include <csignal>
#include <functional>

class QSocketNotifier;
class QWidget;

namespace velmora {

// Turns SIGTERM, SIGINT and SIGHUP (the session or terminal ending) into a
// close of the window by the system, so that a stopped program still runs
// its close handler and keeps its settings, without an error box nobody
// would see. The signal handler only writes a byte to a pipe; the close
// itself happens on the UI thread when the event loop reads it, through
// `close`. One instance at a time; the previous signal dispositions come
// back when it goes.
class SignalCloser final : public QObject {
    Q_OBJECT

  public:
    SignalCloser(QWidget& window, std::function<void()> close);
    ~SignalCloser() override;
    SignalCloser(const SignalCloser&) = delete;
    SignalCloser& operator=(const SignalCloser&) = delete;

  private:
    static void OnSignal(int signal);
    void Drain();

    QWidget& window_;
    std::function<void()> close_;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction oldTerm_ {};
    struct sigaction oldInt_ {};
    struct sigaction oldHup_ {};
};

}  // namespace velmora
