#include "gui/qt/ScrollBarWidget.h"

#include <QSignalBlocker>

namespace velmora {

ScrollBarWidget::ScrollBarWidget(ScrollBar& model, Qt::Orientation orientation, Dispatcher dispatch,
                                 QWidget* parent)
    : QScrollBar(orientation, parent), model_(model), dispatch_(std::move(dispatch)) {
    setRange(model_.Min(), model_.Max());
    setSingleStep(1);
    setPageStep(1);
    // The bars stand on the picture's edges. Filled first, a bar hides the
    // picture under any style (the usual one paints all its pixels anyway), so
    // a redraw of the picture need not repaint it.
    setAutoFillBackground(true);
    Mirror();
    model_.onChanged = [this] { Mirror(); };
    connect(this, &QScrollBar::valueChanged, this, [this](int value) {
        dispatch_([this, value] { model_.SetPosition(value); });
        Mirror();
    });
}

void ScrollBarWidget::Mirror() {
    if (value() == model_.Position()) return;
    const QSignalBlocker quiet(this);
    setValue(model_.Position());
}

}  // namespace velmora
