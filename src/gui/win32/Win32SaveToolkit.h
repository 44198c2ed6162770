#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/FrameSaveToolkit.h"
#include "gui/win32/GdiCanvas.h"
#include "gui/win32/WindowsApi.h"

namespace velmora {

// The Win32 window's part of saving a frame: the user's Documents folder, a save
// dialog (`ask`: the system's, AskSaveNameInDialog, unless a test puts in its
// own) and the system's PNG encoder, on the GDI canvas's picture.
class Win32SaveToolkit final : public FrameSaveToolkit {
  public:
    using AskName = std::function<std::wstring(const std::wstring& proposed)>;

    Win32SaveToolkit(const GdiCanvas& canvas, const AskName& ask) : canvas_(canvas), ask_(ask) {}

    // The Documents known folder, else the profile folder, else the
    // current one.
    std::string DocumentsFolder() const override;
    std::string AskSaveName(const std::string& proposed) override;
    void TakePicture() override;
    bool EncodePicture(std::string& png, std::string& error) override;

  private:
    const GdiCanvas& canvas_;
    const AskName& ask_;
    std::vector<uint32_t> picture_;
    int width_ = 0;
    int height_ = 0;
};

// The system's save dialog owned by `owner`, in the folder of the proposed
// path; empty when the user cancels. It does not change the current folder:
// Config.Ini is kept there.
std::wstring AskSaveNameInDialog(HWND owner, const std::wstring& proposed);

}  // namespace velmora
