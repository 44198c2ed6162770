#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "app/FrameSaveFlow.h"
#include "app/SurfaceClick.h"
#include "app/TForm2.h"
#include "gui/win32/GdiCanvas.h"
#include "gui/win32/Win32SaveToolkit.h"
#include "gui/win32/WindowControls.h"
#include "gui/win32/WindowFocus.h"
#include "gui/win32/WindowPlacement.h"
#include "gui/win32/WindowsApi.h"
#include "system/win32/Win32OutputFiles.h"
#include "system/win32/Win32WallClock.h"

namespace velmora {

// The main window on Win32: one top-level window whose client area is the
// picture (a GDI memory bitmap that WM_PAINT shows), with the child controls
// (WindowControls) and the 200 ms timer. Every user event and timer tick
// runs through the form's dispatcher, after which only the part of the
// picture that changed is shown again. Construction builds the controls with
// their design values, scales them to the monitor's DPI, reports the real
// outer geometry to the form (WindowPlacement) and runs FormCreate; closing
// runs FormClose and destroys the window, which ends the message loop.
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
    // The child window of the control called `name`, or null (WindowControls).
    HWND ControlHandle(std::string_view name) const { return controls_.Handle(name); }
    void Show(int showCommand);
    // The window's own keys (WindowKeys), seen by the message loop before
    // the controls. True when the message was taken.
    bool TranslateKey(const MSG& message);
    // Asks where to save the frame (proposing a path); empty when the user
    // cancels. The system's save dialog unless a test puts in its own.
    Win32SaveToolkit::AskName askSaveName;

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();
    void Run(const std::function<void()>& event);
    void OnSize(WPARAM kind);
    void OnMouse(UINT message, LPARAM lParam);
    void OnPaint();
    void OnClose();
    void SaveFrame();
    void SaveSettingsOnce(TForm2::ClosedBy by);
    void TakeMonitorDpi();
    void ApplyDpi(int dpi);
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void DockScrollBars();
    SurfaceClick::At Where(POINT at) const;

    HINSTANCE instance_;
    ErrorReporter& errors_;
    Win32WallClock wallClock_;
    Win32OutputFiles files_;
    WindowControls controls_;  // before the canvas, which draws in its text font
    GdiCanvas canvas_;
    std::unique_ptr<TForm2> form_;
    Dispatcher dispatch_;
    WindowPlacement placement_;
    HWND hwnd_ = nullptr;
    WindowFocus focus_{nullptr};
    bool running_ = false;  // an event is in the dispatcher (or its error box)
    SurfaceClick click_;
    FrameSaveFlow saveFlow_;
    bool settingsSaved_ = false;
};

}  // namespace velmora
