#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/ControlBoxes.h"
#include "app/TForm2.h"
#include "controls/Dispatcher.h"
#include "gui/win32/ChildControl.h"
#include "gui/win32/GdiCanvas.h"
#include "gui/win32/ScrollBarControl.h"
#include "gui/win32/WindowFonts.h"
#include "gui/win32/WindowsApi.h"

namespace velmora {

// The main window's child controls: one per entry of the control table,
// bound to the form's models, and the two scroll bars docked to the client
// area; their fonts (also the picture's) and places at the window's DPI; the
// parent's WM_COMMAND and scroll messages handed to the control they come
// from.
class WindowControls {
  public:
    WindowControls() : fonts_(std::make_unique<WindowFonts>(kDesignDpi)) {}

    // The labels' font, for the picture too.
    HFONT TextFont() const { return fonts_->text.Get(); }
    // Every user action runs through `dispatch`.
    void Build(TForm2& form, HWND parent, HINSTANCE instance, const Dispatcher& dispatch);
    void Clear();
    // Fonts (the picture's as well) and list rows at a new DPI, then the
    // controls placed for it (Fit).
    void Rescale(int dpi, GdiCanvas& picture);
    // The table's places scaled to `dpi`, each box as wide as its text
    // measured in its font (FitControlBoxes); at 96 DPI the table's own.
    void Fit(int dpi);
    void Dock(int clientWidth, int clientHeight, int dpi);
    // The child window of the control called `name` (a table entry,
    // "SyncVoltBar" or "SyncPosBar"), or null.
    HWND Handle(std::string_view name) const;
    // WM_COMMAND, WM_HSCROLL and WM_VSCROLL; false for other messages.
    bool Take(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void Place(const std::vector<ControlBox>& boxes);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnScroll(WPARAM wParam, LPARAM lParam);

    std::unique_ptr<WindowFonts> fonts_;
    std::vector<std::unique_ptr<ChildControl>> controls_;
    std::unique_ptr<ScrollBarControl> syncVoltBar_;
    std::unique_ptr<ScrollBarControl> syncPosBar_;
};

}  // namespace velmora
