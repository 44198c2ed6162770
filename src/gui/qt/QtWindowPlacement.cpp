#include "gui/qt/QtWindowPlacement.h"

#include <QScreen>
#include <QWindow>

#include "app/ControlLayout.h"

namespace velmora {
namespace {

bool Maximised(const QWidget& window) {
    return (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
}

OuterRect Outer(const QRect& r) { return OuterRect{r.x(), r.y(), r.width(), r.height()}; }

}  // namespace

void QtWindowPlacement::Mirror() {
    if (mirroring_) return;
    mirroring_ = true;
    window_.setWindowTitle(QString::fromLatin1(model_.Caption().c_str()));
    requested_ = OuterRect{model_.Left(), model_.Top(), model_.Width(), model_.Height()};
    if (Maximised(window_)) {
        restorePending_ = true;
    } else {
        ApplyOuterGeometry();
    }
    mirroring_ = false;
}

void QtWindowPlacement::OnStateChange() {
    if (!restorePending_ || mirroring_ || Maximised(window_)) return;
    mirroring_ = true;  // the move must not report the old size before the resize
    ApplyOuterGeometry();
    mirroring_ = false;
    Report();
}

// The requested outer geometry, less the frame the window system puts around
// it. Before the window is shown the frame is not known yet (taken as none);
// AdoptFrame applies the geometry again once it is.
void QtWindowPlacement::ApplyOuterGeometry() {
    restorePending_ = false;
    window_.move(requested_.left, requested_.top);  // a top-level window's position is its frame's
    const QScreen* screen = window_.screen();
    const QSize screenSize = screen != nullptr ? screen->availableGeometry().size() : QSize();
    const FrameMargins& frame = model_.Frame();
    window_.resize(
        FitSide(frame.ClientWidth(requested_.width), screenSize.width(), kClientWidth),
        FitSide(frame.ClientHeight(requested_.height), screenSize.height(), kClientHeight));
    fitToClient_();
}

// A new frame goes to the model, whose geometry (and so the window's) follows.
void QtWindowPlacement::AdoptFrame() {
    if (!window_.isVisible()) return;
    model_.SetFrame(MarginsBetween(Outer(window_.frameGeometry()), Outer(window_.geometry())));
}

// Until the window is on the screen, its geometry is only the program's own
// request coming back, measured without the frame.
void QtWindowPlacement::Report() {
    if (mirroring_ || !window_.isVisible()) return;
    AdoptFrame();
    const QWindow* handle = window_.windowHandle();
    if (handle == nullptr || !handle->isExposed()) return;
    mirroring_ = true;
    const QRect outer = window_.frameGeometry();
    model_.SetGeometry(outer.x(), outer.y(), outer.width(), outer.height());
    mirroring_ = false;
}

}  // namespace velmora
