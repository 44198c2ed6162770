#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;
class QWidget;

namespace velmora {

// Turns SIGTERM and SIGINT into an ordinary close of the window, so that a
// stopped program still runs its close handler and keeps its settings. The
// signal handler only writes a byte to a pipe; the close itself happens on
// the UI thread when the event loop reads it. One instance at a time; the
// previous signal dispositions come back when it goes.
class SignalCloser final : public QObject {
    Q_OBJECT

  public:
    explicit SignalCloser(QWidget& window);
    ~SignalCloser() override;
    SignalCloser(const SignalCloser&) = delete;
    SignalCloser& operator=(const SignalCloser&) = delete;

  private:
    static void OnSignal(int signal);
    void Drain();

    QWidget& window_;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction oldTerm_ {};
    struct sigaction oldInt_ {};
};

}  // namespace velmora
