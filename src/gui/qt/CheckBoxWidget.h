#pragma once

#include <QCheckBox>

#include "controls/CheckBox.h"
#include "controls/Dispatcher.h"
#include "gui/qt/MeasuredText.h"

namespace velmora {

// A check box mirroring a CheckBox model. The user's toggle becomes the
// model's UserClick (which runs the handler, if any); a tick set by the
// program is copied in without emitting anything. Styles mark the keyboard
// focus around the caption, and on a box without one at most faintly on the
// square; such a box draws the style's focus rectangle around itself, so
// that a Tab onto it shows.
class CheckBoxWidget final : public QCheckBox, public MeasuredText {
    Q_OBJECT

  public:
    CheckBoxWidget(CheckBox& model, const QString& caption, Dispatcher dispatch, QWidget* parent);
    // The style's box and spacing with the caption; 0 without a caption.
    int TextWidth(qreal dpr) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Mirror();

    CheckBox& model_;
    Dispatcher dispatch_;
};

}  // namespace velmora
