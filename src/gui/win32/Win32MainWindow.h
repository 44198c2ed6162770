#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/TForm2.h"
#include "gui/win32/ChildControl.h"
#include "gui/win32/GdiCanvas.h"
#include "gui/win32/ScrollBarControl.h"
#include "gui/win32/WindowFonts.h"
#include "gui/win32/WindowsApi.h"
#include "system/win32/Win32OutputFiles.h"
#include "system/win32/Win32WallClock.h"

namespace velmora {

// The main window on Win32: one top-level window whose client area is the
// picture (a GDI memory bitmap that WM_PAINT shows), with child controls
// built from the control table and mirroring the form's models, the two
// scroll bars docked left and bottom, and the 200 ms timer. Every user event
// and timer tick runs through the form's dispatcher. Construction builds the
// controls with their design values, scales them to the monitor's DPI,
// reports the window's real outer geometry to the form and then runs
// FormCreate; closing runs FormClose and destroys the window, which ends the
// message loop. The form's Left, Top, Width and Height are the outer
// rectangle (GetWindowRect, SetWindowPos) in design pixels: device pixels
// times 96 / DPI. The program is per-monitor DPI aware (its manifest).
class Win32MainWindow {
  public:
    Win32MainWindow(HINSTANCE instance, SerialPorts& ports, SettingsStore& settings, Clock& clock,
                    ErrorReporter& errors);
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    TForm2& Form() { return *form_; }
    // The picture the canvas draws into and WM_PAINT shows.
    const GdiCanvas& Picture() const { return canvas_; }
    // The child window of the control called `name` (a table entry,
    // "SyncVoltBar" or "SyncPosBar"), or null.
    HWND ControlHandle(std::string_view name) const;
    void Show(int showCommand);
    // The window's own keys, seen by the message loop before the controls:
    // Ctrl+S saves the frame on the screen, M (outside a box that types it)
    // shows or hides the measurements. True when the message was taken.
    bool TranslateKey(const MSG& message);
    // Asks where to save the frame (proposing a path); empty when the user
    // cancels. The system's save dialog unless a test puts in its own.
    std::function<std::wstring(const std::wstring& proposed)> askSaveName;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateMainWindow();
    void Detach();
    void BuildControls();
    ChildContext Context(int id) const;
    void Run(const std::function<void()>& event);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnScroll(WPARAM wParam, LPARAM lParam);
    void OnSize(WPARAM kind);
    void OnMouse(UINT message, LPARAM lParam);
    void OnPaint();
    void OnClose();
    void SaveFrame();
    // The folder of the last save in this run, at first the current folder.
    std::wstring SaveFolder() const;
    std::wstring AskSaveNameInDialog(const std::wstring& proposed);
    void SaveSettingsOnce(TForm2::ClosedBy by);
    void OnActivate(WPARAM state);
    void RestoreFocus();
    void OnNextDlgCtl(WPARAM wParam, LPARAM lParam);
    void TakeMonitorDpi();
    void ApplyDpi(int dpi);
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void LayoutControls();
    void DockScrollBars();
    void MirrorWindow();
    RECT DeviceRect(const Window& model) const;
    void ReportGeometry();
    bool OnSurface(POINT at) const;

    HINSTANCE instance_;
    std::unique_ptr<WindowFonts> fonts_;
    ErrorReporter& errors_;
    Win32WallClock wallClock_;
    Win32OutputFiles files_;
    GdiCanvas canvas_;
    std::unique_ptr<TForm2> form_;
    Dispatcher dispatch_;
    HWND hwnd_ = nullptr;
    int dpi_ = kDesignDpi;
    SIZE designOuter_{};    // the design client area's outer size at dpi_
    HWND focus_ = nullptr;  // the control that had the focus when the window lost it
    std::vector<std::unique_ptr<ChildControl>> controls_;
    std::unique_ptr<ScrollBarControl> syncVoltBar_;
    std::unique_ptr<ScrollBarControl> syncPosBar_;
    bool running_ = false;    // an event is in the dispatcher (or its error box)
    bool mirroring_ = false;  // the window follows the model, or the model the window
    bool surfacePressed_ = false;
    std::wstring saveFolder_;  // the folder of the last save in this run
    bool settingsSaved_ = false;
};

}  // namespace velmora
