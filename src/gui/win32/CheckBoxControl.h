#pragma once

#include "app/ControlLayout.h"
#include "controls/CheckBox.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A BUTTON check box (BS_CHECKBOX: it never ticks itself) mirroring a
// CheckBox model: a user's click runs the model's UserClick, which toggles
// and runs the handler; the tick shown is always the model's.
class CheckBoxControl final : public ChildControl {
  public:
    CheckBoxControl(const ControlPlacement& placement, CheckBox& model,
                    const ChildContext& context);
    ~CheckBoxControl() override;
    void OnCommand(WORD code) override;

  private:
    void Mirror();

    CheckBox& model_;
    Dispatcher dispatch_;
};

}  // namespace velmora
