#include "gui/qt/ControlFactory.h"

#include <stdexcept>
#include <string>

#include "app/ControlBinding.h"
#include "gui/qt/ButtonWidget.h"
#include "gui/qt/CheckBoxWidget.h"
#include "gui/qt/EditBoxWidget.h"
#include "gui/qt/LabelBox.h"
#include "gui/qt/ListBoxWidget.h"
#include "gui/qt/MemoWidget.h"

namespace velmora {
namespace {

QWidget* CreateWidget(const BoundControl& bound, const Dispatcher& dispatch, QWidget* parent) {
    const ControlPlacement& control = bound.placement;
    const QString text =
        QString::fromLatin1(control.text.data(), static_cast<qsizetype>(control.text.size()));
    switch (control.kind) {
        case ControlKind::ListBox:
            return new ListBoxWidget(*bound.list, dispatch, parent);
        case ControlKind::CheckBox:
            return new CheckBoxWidget(*bound.check, text, dispatch, parent);
        case ControlKind::EditBox:
            return new EditBoxWidget(*bound.edit, dispatch, parent);
        case ControlKind::Button:
            return new ButtonWidget(text, bound.click, dispatch, parent);
        case ControlKind::Label:
            return new LabelBox(control, parent);
        case ControlKind::Memo:
            return new MemoWidget(*bound.memo, parent);
    }
    throw std::logic_error("no widget for control " + std::string(control.name));
}

}  // namespace

QWidget* CreateControl(const ControlPlacement& control, TForm2& form, const Dispatcher& dispatch,
                       QWidget* parent) {
    QWidget* widget = CreateWidget(BindControl(control, form), dispatch, parent);
    widget->setObjectName(
        QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size())));
    widget->setGeometry(control.left, control.top, control.width, control.height);
    // The refresh button is left out of the Tab order; a click still focuses it.
    if (control.name == "RefreshComm") widget->setFocusPolicy(Qt::ClickFocus);
    return widget;
}

}  // namespace velmora
