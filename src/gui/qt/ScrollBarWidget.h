#pragma once

#include <QScrollBar>

#include "controls/Dispatcher.h"
#include "controls/ScrollBar.h"

namespace velmora {

// A scroll bar mirroring a ScrollBar model: same range, a step of one both
// for the arrows and the page, so every position is reachable. Each position
// the user moves to becomes the model's position (which runs its change
// handler once per new position); a position set by the program is copied
// in without emitting anything.
class ScrollBarWidget final : public QScrollBar {
    Q_OBJECT

  public:
    ScrollBarWidget(ScrollBar& model, Qt::Orientation orientation, Dispatcher dispatch,
                    QWidget* parent);

  private:
    void Mirror();

    ScrollBar& model_;
    Dispatcher dispatch_;
};

}  // namespace velmora
