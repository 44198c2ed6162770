#pragma once

#include <QPushButton>
#include <functional>

#include "controls/Dispatcher.h"
#include "gui/qt/MeasuredText.h"

namespace velmora {

// A push button whose caption wraps over as many lines as its height allows
// (the defaults button is tall and narrow) and keeps a small margin, so that
// short captions fit the window's small buttons. A click runs `onClick`
// through the dispatcher.
class ButtonWidget final : public QPushButton, public MeasuredText {
    Q_OBJECT

  public:
    ButtonWidget(const QString& caption, std::function<void()> onClick, Dispatcher dispatch,
                 QWidget* parent);
    // The caption within its margins; one that wraps, its widest word.
    int TextWidth(qreal dpr) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool Wraps(const QRect& area) const;

    std::function<void()> onClick_;
    Dispatcher dispatch_;
};

}  // namespace velmora
