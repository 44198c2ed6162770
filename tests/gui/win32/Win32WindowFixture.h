#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/win32/Win32MainWindow.h"
#include "support/FormFixture.h"

namespace velmora::test {

// The real Win32 window on fake services: scripted ports on a virtual clock,
// settings in memory, errors recorded. The window is never shown and no
// message loop runs, so only the messages a test sends arrive (no timer
// ticks). Ports added before Window() is first called are what start-up
// discovers.
struct Win32WindowFixture {
    VirtualClock clock;
    FakeSerialPorts ports{clock};
    FakeSettingsStore settings;
    RecordingErrors errors;
    ErrorReporter* errorBox = nullptr;  // instead of `errors`: a real error box, say
    std::unique_ptr<Win32MainWindow> window;

    // Wine opens no top-level window without a display; the tests then
    // skip, and scripts/test-windows-window.sh runs them on its virtual one.
    static bool CanOpenWindows() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelmoraProbe";
        RegisterClassExW(&wc);
        const HWND probe = CreateWindowExW(0, L"VelmoraProbe", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                           100, nullptr, nullptr, wc.hInstance, nullptr);
        if (probe != nullptr) DestroyWindow(probe);
        return probe != nullptr;
    }

    Win32MainWindow& Window() {
        if (!window) {
            window = std::make_unique<Win32MainWindow>(GetModuleHandleW(nullptr), ports, settings,
                                                       clock, errorBox ? *errorBox : errors);
        }
        return *window;
    }
    TForm2& Form() { return Window().Form(); }

    HWND Control(const char* name) {
        const HWND hwnd = Window().ControlHandle(name);
        EXPECT_NE(hwnd, nullptr) << name;
        return hwnd;
    }
    // A click of the left button at client point (x, y) of `hwnd`.
    static void Click(HWND hwnd, int x, int y) {
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    static void Key(HWND hwnd, WPARAM key) { SendMessageW(hwnd, WM_KEYDOWN, key, 0); }
};

}  // namespace velmora::test
