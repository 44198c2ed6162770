#pragma once

#include "controls/ScrollBar.h"
#include "gui/win32/ChildControl.h"

namespace velmora {

// A SCROLLBAR control mirroring a ScrollBar model. Every request of the user
// (arrows, page, thumb dragged or dropped, ends) becomes the model's
// SetPosition, which clamps and runs the change handler for every new
// position; the bar shows the model's position. The hint shows on hover.
class ScrollBarControl final : public ChildControl {
  public:
    ScrollBarControl(ScrollBar& model, bool vertical, const wchar_t* hint,
                     const ChildContext& context);
    ~ScrollBarControl() override;
    void OnScroll(WORD request) override;

  private:
    int Target(WORD request) const;
    void Mirror();
    void AddHint(const wchar_t* hint, const ChildContext& context);

    ScrollBar& model_;
    Dispatcher dispatch_;
    HWND tooltip_ = nullptr;
};

}  // namespace velmora
