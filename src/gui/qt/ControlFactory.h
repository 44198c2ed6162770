#pragma once

#include "app/ControlLayout.h"
#include "app/TForm2.h"
#include "controls/Dispatcher.h"

class QWidget;

namespace velmora {

// Builds the widget of one placed control: the widget kind of its layout entry,
// bound to the form's model of the same name, at its design position, with
// the control's name as object name (tests find widgets by it). Throws
// std::logic_error for a name the form has no model for.
QWidget* CreateControl(const ControlPlacement& control, TForm2& form, const Dispatcher& dispatch,
                       QWidget* parent);

}  // namespace velmora
