#pragma once

#include <functional>

namespace velmora {

// A check box. The program sets the tick without running a handler; a user's
// click toggles it first and then runs `onClick`.
class CheckBox {
  public:
    explicit CheckBox(bool checked = false) : checked_(checked) {}

    std::function<void()> onClick;
    std::function<void()> onChanged;  // binding mirror

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    void UserClick();

  private:
    bool checked_;
};

}  // namespace velmora
