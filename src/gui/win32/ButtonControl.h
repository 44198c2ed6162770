#pragma once

#include <functional>
#include <string>

#include "app/ControlLayout.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A push button that runs its handler on the user's click. A button tall
// enough for two lines wraps its caption (BS_MULTILINE). The refresh button
// is no tab stop.
class ButtonControl final : public ChildControl {
  public:
    ButtonControl(const ControlPlacement& placement, std::function<void()> onClick,
                  const ChildContext& context);
    void OnCommand(WORD code) override;
    // The caption inside the button's frame; one that wraps, its widest word.
    int TextWidth(int dpi) const override;

  private:
    std::wstring text_;
    bool wraps_;
    std::function<void()> onClick_;
    Dispatcher dispatch_;
};

}  // namespace velmora
