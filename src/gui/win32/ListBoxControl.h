#pragma once

#include <string>
#include <vector>

#include "app/ControlLayout.h"
#include "controls/ListBox.h"
#include "controls/ListBoxInput.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A one-row LISTBOX mirroring a ListBox model. The native list never selects
// on its own: its mouse, keyboard and scroll input is taken in a subclass and
// handed to ListBoxInput, whose events change the model, and the model is
// mirrored back (LB_SETCURSEL, LB_SETTOPINDEX, which notify nobody). So a
// click on the row runs the click handler also when it hits the entry already
// selected (for which the native list would send no LBN_SELCHANGE), and a
// selection made by the program runs none. The small scroll bar and the wheel
// move the visible row without selecting.
class ListBoxControl final : public ChildControl {
  public:
    ListBoxControl(const ControlPlacement& placement, ListBox& model, const ChildContext& context);
    ~ListBoxControl() override;
    // The font, and the row height of 13 design pixels at the new DPI.
    void Rescale(const ChildScale& scale) override;
    // The widest entry, with the list's frame and scroll bar around it.
    int TextWidth(int dpi) const override;

  private:
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    // True when the message was taken (the native list does not see it).
    bool Take(UINT message, WPARAM wParam, LPARAM lParam);
    bool TakeMouse(UINT message, LPARAM lParam);
    bool TakeKey(WPARAM key);
    void TakeScroll(WORD request);
    void Mirror();
    void MirrorItems();

    ListBox& model_;
    ListBoxInput input_;
    std::vector<std::string> shown_;  // the entries the native list holds
    bool pressed_ = false;
};

}  // namespace velmora
