#pragma once

#include "controls/ErrorReporter.h"
#include "gui/win32/WindowsApi.h"

namespace velmora {

// The standard error message box, titled with the application's title,
// owned by the main window once there is one (so that it is modal to it).
class Win32ErrorReporter final : public ErrorReporter {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowError(const std::string& message) override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace velmora
