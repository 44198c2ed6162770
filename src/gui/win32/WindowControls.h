#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/TForm2.h"
#include "gui/win32/ChildControl.h"
#include "gui/win32/ScrollBarControl.h"
#include "gui/win32/WindowsApi.h"

namespace velmora {

// The main window's child controls: one per entry of the control table,
// bound to the form's models, and the two scroll bars docked to the client
// area; placed at the window's DPI; the parent's WM_COMMAND and scroll
// messages handed to the control they come from.
class WindowControls {
  public:
    // `context` gives the parent, fonts and dispatcher for a child of `id`.
    void Build(TForm2& form, const std::function<ChildContext(int id)>& context);
    void Clear();
    // Fonts and list rows at a new DPI, then the table's places scaled to it.
    void Rescale(const ChildScale& scale);
    void Dock(int clientWidth, int clientHeight, int dpi);
    // The child window of the control called `name` (a table entry,
    // "SyncVoltBar" or "SyncPosBar"), or null.
    HWND Handle(std::string_view name) const;
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnScroll(WPARAM wParam, LPARAM lParam);

  private:
    std::vector<std::unique_ptr<ChildControl>> controls_;
    std::unique_ptr<ScrollBarControl> syncVoltBar_;
    std::unique_ptr<ScrollBarControl> syncPosBar_;
};

}  // namespace velmora
