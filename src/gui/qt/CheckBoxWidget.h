#pragma once

#include <QCheckBox>

#include "controls/CheckBox.h"
#include "controls/Dispatcher.h"

namespace velmora {

// A check box mirroring a CheckBox model. The user's toggle becomes the
// model's UserClick (which runs the handler, if any); a tick set by the
// program is copied in without emitting anything.
class CheckBoxWidget final : public QCheckBox {
    Q_OBJECT

  public:
    CheckBoxWidget(CheckBox& model, const QString& caption, Dispatcher dispatch, QWidget* parent);

  private:
    void Mirror();

    CheckBox& model_;
    Dispatcher dispatch_;
};

}  // namespace velmora
