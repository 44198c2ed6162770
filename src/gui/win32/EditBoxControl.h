#pragma once

#include "app/ControlLayout.h"
#include "controls/EditBox.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A one-line EDIT mirroring an EditBox model; ES_NUMBER for the digits-only
// boxes, so that the user can type nothing but digits there, and for the
// decimal box (digits and one point, which ES_NUMBER would refuse) a subclass
// that checks each typed character. ES_NUMBER does not stop a paste (Ctrl+V,
// Shift+Insert, the context menu): the subclass refuses whole a paste that
// holds anything typing would refuse, with the edit's balloon. What the user
// types goes into the model; text the program sets is shown as given.
class EditBoxControl final : public ChildControl {
  public:
    EditBoxControl(const ControlPlacement& placement, EditBox& model, const ChildContext& context);
    ~EditBoxControl() override;
    void OnCommand(WORD code) override;

  private:
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    bool Takes(const std::wstring& inserted) const;
    void Refuse() const;
    void PasteWhole();
    std::wstring Shown() const;
    void Mirror();

    EditBox& model_;
    Dispatcher dispatch_;
    bool mirroring_ = false;  // SetWindowText notifies EN_CHANGE at once
};

}  // namespace velmora
