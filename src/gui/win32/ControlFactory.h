#pragma once

#include <memory>

#include "app/ControlBinding.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// Builds the child window of one placed control, of its table entry's kind,
// mirroring the model the entry is bound to, at its design position.
std::unique_ptr<ChildControl> CreateChildControl(const BoundControl& bound,
                                                 const ChildContext& context);

}  // namespace velmora
