#pragma once

#include <string>

#include "app/ControlLayout.h"
#include "controls/CheckBox.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A BUTTON check box (BS_CHECKBOX: it never ticks itself) mirroring a
// CheckBox model: a user's click runs the model's UserClick, which toggles
// and runs the handler; the tick shown is always the model's. The button
// draws the keyboard focus as a dotted rectangle around its caption; one
// without a caption draws it around itself, so that a Tab onto it shows.
class CheckBoxControl final : public ChildControl {
  public:
    CheckBoxControl(const ControlPlacement& placement, CheckBox& model,
                    const ChildContext& context);
    ~CheckBoxControl() override;
    void OnCommand(WORD code) override;
    // The box, the gap after it and the caption; 0 without a caption.
    int TextWidth(int dpi) const override;

  private:
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    void DrawFocus(HDC dc) const;
    void Mirror();

    CheckBox& model_;
    Dispatcher dispatch_;
    std::wstring text_;
};

}  // namespace velmora
