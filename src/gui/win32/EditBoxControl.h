#pragma once

#include "app/ControlLayout.h"
#include "controls/EditBox.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A one-line EDIT mirroring an EditBox model; ES_NUMBER for the digits-only
// boxes, so that the user can type nothing but digits there. What the user
// types goes into the model; text the program sets is shown as given.
class EditBoxControl final : public ChildControl {
  public:
    EditBoxControl(const ControlPlacement& placement, EditBox& model, const ChildContext& context);
    ~EditBoxControl() override;
    void OnCommand(WORD code) override;

  private:
    std::wstring Shown() const;
    void Mirror();

    EditBox& model_;
    Dispatcher dispatch_;
    bool mirroring_ = false;  // SetWindowText notifies EN_CHANGE at once
};

}  // namespace velmora
