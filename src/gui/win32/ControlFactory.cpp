#include "gui/win32/ControlFactory.h"

#include "gui/win32/ButtonControl.h"
#include "gui/win32/CheckBoxControl.h"
#include "gui/win32/EditBoxControl.h"
#include "gui/win32/LabelControl.h"
#include "gui/win32/ListBoxControl.h"
#include "gui/win32/MemoControl.h"

namespace velmora {

std::unique_ptr<ChildControl> CreateChildControl(const BoundControl& bound,
                                                 const ChildContext& context) {
    const ControlPlacement& placement = bound.placement;
    switch (placement.kind) {
        case ControlKind::ListBox:
            return std::make_unique<ListBoxControl>(placement, *bound.list, context);
        case ControlKind::CheckBox:
            return std::make_unique<CheckBoxControl>(placement, *bound.check, context);
        case ControlKind::EditBox:
            return std::make_unique<EditBoxControl>(placement, *bound.edit, context);
        case ControlKind::Button:
            return std::make_unique<ButtonControl>(placement, bound.click, context);
        case ControlKind::Label:
            return std::make_unique<LabelControl>(placement, context);
        case ControlKind::Memo:
            return std::make_unique<MemoControl>(placement, *bound.memo, context);
    }
    return nullptr;
}

}  // namespace velmora
