#pragma once

#include <functional>

#include "app/ControlLayout.h"
#include "app/TForm2.h"

namespace velmora {

// One placed control of the table joined to what it drives on a form: the
// model of the same name (exactly one pointer is set, by the placement's
// kind), or for a push button its click handler. Labels drive nothing. Every
// window binding builds its controls from these, so the table and the form
// are joined in one place.
struct BoundControl {
    const ControlPlacement& placement;
    ListBox* list = nullptr;
    CheckBox* check = nullptr;
    EditBox* edit = nullptr;
    Memo* memo = nullptr;
    std::function<void()> click;  // push buttons
};

// Joins `placement` to `form`. Throws std::logic_error for a name the form has
// no model or handler for, so a table entry without its model fails at once.
BoundControl BindControl(const ControlPlacement& placement, TForm2& form);

}  // namespace velmora
