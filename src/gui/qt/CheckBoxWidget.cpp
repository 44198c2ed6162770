#include "gui/qt/CheckBoxWidget.h"

#include <QSignalBlocker>

namespace velmora {

CheckBoxWidget::CheckBoxWidget(CheckBox& model, const QString& caption, Dispatcher dispatch,
                               QWidget* parent)
    : QCheckBox(caption, parent), model_(model), dispatch_(std::move(dispatch)) {
    Mirror();
    model_.onChanged = [this] { Mirror(); };
    // `clicked` comes only from the user (mouse or space bar), never from setChecked.
    connect(this, &QCheckBox::clicked, this, [this] {
        dispatch_([this] { model_.UserClick(); });
        Mirror();  // the model has the last word, also when its handler threw
    });
}

void CheckBoxWidget::Mirror() {
    const QSignalBlocker quiet(this);
    setChecked(model_.Checked());
}

}  // namespace velmora
