#pragma once

#include <QLineEdit>

#include "app/ControlLayout.h"
#include "gui/qt/MeasuredText.h"

namespace velmora {

// A static label as the window draws them: a borderless read-only edit box
// on the window's background, greyed when disabled, aligned as laid out.
// It paints its text over its whole width (an edit box's inner margins would
// clip the short labels laid out for a narrower font).
class LabelBox final : public QLineEdit, public MeasuredText {
    Q_OBJECT

  public:
    LabelBox(const ControlPlacement& control, QWidget* parent);
    int TextWidth(qreal dpr) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmora
