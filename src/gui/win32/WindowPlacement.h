#pragma once

#include "controls/DpiScale.h"
#include "controls/Window.h"
#include "gui/win32/WindowsApi.h"

namespace velmora {

// The main window's place on the screen and the form's geometry following
// each other, never one while the other runs. The form's Left, Top, Width
// and Height are the outer rectangle (GetWindowRect, SetWindowPos) in design
// pixels: device pixels times 96 / DPI, as a program unaware of DPI sees
// them, so that settings files stay alike at any DPI. The window keeps
// within the screen and on a monitor; the model keeps the values as given.
class WindowPlacement {
  public:
    WindowPlacement(Window& model, DWORD style, DWORD exStyle);

    void Attach(HWND window) { window_ = window; }
    int Dpi() const { return dpi_; }
    // The outer size that gives the design client area at Dpi().
    SIZE DesignOuter() const { return designOuter_; }
    void SetDpi(int dpi);
    // The design place and size at Dpi(), for a window made at those of a
    // 96-DPI monitor.
    void TakeDesignPlace();
    // Caption and outer geometry set by the program (start-up, settings file).
    void Mirror();
    // Where the user (or the system) put the window, to the model. A
    // minimised window has no place of its own.
    void Report();
    // The window to `outer` (device pixels), then reported.
    void MoveTo(const RECT& outer);

  private:
    Window& model_;
    DWORD style_;
    DWORD exStyle_;
    HWND window_ = nullptr;
    int dpi_ = kDesignDpi;
    SIZE designOuter_{};
    bool mirroring_ = false;  // the window follows the model, or the model the window
};

}  // namespace velmora
