// Program entry on Windows: the one window on the Win32 serial ports and
// settings file, and the message loop. The window is top-level, so it owns
// the application's taskbar button; the application's title names it there
// and heads the error box.
#include <exception>

#include "gui/win32/Win32ErrorReporter.h"
#include "gui/win32/Win32MainWindow.h"
#include "gui/win32/WindowsApi.h"
#include "system/Clock.h"
#include "system/win32/Win32SerialPorts.h"
#include "system/win32/Win32SettingsStore.h"

namespace {

void InitControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

// The window's own keys first; then Tab moves between the controls, as in a
// dialog.
void RunMessageLoop(velmora::Win32MainWindow& main) {
    const HWND window = main.Handle();
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (main.TranslateKey(message)) continue;
        if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int RunWindow(HINSTANCE instance) {
    velmora::Win32SerialPorts ports;
    velmora::Win32SettingsStore settings;
    velmora::SteadyClock clock;
    velmora::Win32ErrorReporter errors;
    velmora::Win32MainWindow window(instance, ports, settings, clock, errors);
    errors.SetOwner(window.Handle());  // from here on the box is modal to the window
    window.Show(SW_SHOWMAXIMIZED);
    RunMessageLoop(window);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitControls();
    try {
        return RunWindow(instance);
    } catch (const std::exception& e) {
        velmora::Win32ErrorReporter().ShowError(e.what());
    } catch (...) {
        velmora::Win32ErrorReporter().ShowError("");
    }
    return 0;
}
