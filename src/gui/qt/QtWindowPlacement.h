#pragma once

#include <QWidget>
#include <functional>

#include "app/WindowGeometry.h"
#include "controls/Window.h"

namespace velmora {

// The Qt window's place on the screen and the form's geometry following each
// other, never one while the other runs. The form's Left, Top, Width and
// Height are the outer geometry, frame included, as the settings file stores
// it; the window keeps within the screen (FitSide), and the model keeps the
// values as they were given.
class QtWindowPlacement {
  public:
    // `fitToClient` runs once the window took a size from the model.
    QtWindowPlacement(QWidget& window, Window& model, std::function<void()> fitToClient)
        : window_(window), model_(model), fitToClient_(std::move(fitToClient)) {}

    // Caption and outer geometry set by the program (start-up, settings file).
    void Mirror();
    // Where the user (or the window manager) put the window, to the model.
    void Report();
    // The frame as the window system drew it, to the model.
    void AdoptFrame();
    // The window's state changed: a geometry the program asked for while it
    // was maximised is taken when it is restored.
    void OnStateChange();

  private:
    void ApplyOuterGeometry();

    QWidget& window_;
    Window& model_;
    std::function<void()> fitToClient_;
    // The outer geometry the program asked for last. A window shown maximised
    // gets it when restored (the window system kept the one it was given
    // before the frame was known).
    OuterRect requested_;
    bool restorePending_ = false;
    bool mirroring_ = false;
};

}  // namespace velmora
