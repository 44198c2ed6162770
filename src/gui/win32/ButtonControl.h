#pragma once

#include <functional>

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

  private:
    std::function<void()> onClick_;
    Dispatcher dispatch_;
};

}  // namespace velmora
