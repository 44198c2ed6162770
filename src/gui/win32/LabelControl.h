#pragma once

#include <string>

#include "app/ControlLayout.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A static label: a borderless read-only EDIT with its fixed text, aligned
// and enabled as the table says. A disabled label takes no mouse input, so a
// click on it reaches the window's surface.
class LabelControl final : public ChildControl {
  public:
    LabelControl(const ControlPlacement& placement, const ChildContext& context);
    void Rescale(const ChildScale& scale) override;
    // The text itself: the edit draws it without margins.
    int TextWidth(int dpi) const override;

  private:
    void DropMargins();

    std::wstring text_;
};

}  // namespace velmora
