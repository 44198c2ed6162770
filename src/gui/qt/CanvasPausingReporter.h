#pragma once

#include "controls/ErrorReporter.h"
#include "gui/qt/QImageCanvas.h"

namespace velmora {

// Hands errors on to the error box, but first closes the canvas's painter: the
// box runs an event loop of its own, in which the window may be resized (its
// picture replaced) or another event may paint.
class CanvasPausingReporter final : public ErrorReporter {
  public:
    CanvasPausingReporter(QImageCanvas& canvas, ErrorReporter& errors)
        : canvas_(canvas), errors_(errors) {}

    void ShowError(const std::string& message) override {
        canvas_.End();
        errors_.ShowError(message);
    }

  private:
    QImageCanvas& canvas_;
    ErrorReporter& errors_;
};

}  // namespace velmora
