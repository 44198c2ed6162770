#include "gui/qt/SignalCloser.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>

namespace velmora {
namespace {

// The self-pipe: [0] read by the UI thread, [1] written by the signal handler.
int gPipe[2] = {-1, -1};

}  // namespace

SignalCloser::SignalCloser(QWidget& window, std::function<void()> close)
    : window_(window), close_(std::move(close)) {
    if (pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        gPipe[0] = gPipe[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });

    struct sigaction action {};
    action.sa_handler = &SignalCloser::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &oldTerm_);
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGHUP, &action, &oldHup_);
}

SignalCloser::~SignalCloser() {
    if (gPipe[0] < 0) return;
    sigaction(SIGTERM, &oldTerm_, nullptr);
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGHUP, &oldHup_, nullptr);
    delete notifier_;
    close(gPipe[0]);
    close(gPipe[1]);
    gPipe[0] = gPipe[1] = -1;
}

void SignalCloser::OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a pending close; losing this byte is harmless.
    [[maybe_unused]] const ssize_t written = write(gPipe[1], &byte, 1);
    errno = saved;
}

void SignalCloser::Drain() {
    char bytes[64];
    while (read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    if (close_) {
        close_();
    } else {
        window_.close();
    }
}

}  // namespace velmora
