// The window's life beyond clicks, in one table of events: the ways it ends
// and the settings file, the keyboard focus, the monitor's DPI. Every row
// runs on a window of its own with the real error box. The DPI is the one
// Wine starts the process with (its LogPixels); test-windows-window.sh runs
// this table at 96 and, with VELMORA_TEST_DPI=144, at 144 DPI.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/ControlLayout.h"
#include "controls/DpiScale.h"
#include "gui/win32/Win32ErrorReporter.h"
#include "gui/win32/Win32WindowFixture.h"

namespace velmora {
namespace {

using test::Win32WindowFixture;

int StartDpi() {
    const char* text = std::getenv("VELMORA_TEST_DPI");
    return text != nullptr ? std::atoi(text) : kDesignDpi;
}

RECT PlaceOf(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT Outer(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

// Timers that fire inside the error box's own message loop, as a taskkill's
// WM_CLOSE or the user's OK arrive there.
HWND g_main = nullptr;
void CALLBACK CloseTheWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(g_main, WM_CLOSE, 0, 0);
}
void CALLBACK AnswerTheBox(HWND, UINT, UINT_PTR id, DWORD) {
    if (const HWND box = FindWindowW(L"#32770", L"Velmora")) {
        KillTimer(nullptr, id);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

// A generator handler that fails on the amplitude's text: the error box.
void ShowTheErrorBox(Win32WindowFixture& f, TIMERPROC meanwhile) {
    g_main = f.Window().Handle();
    f.Form().Ampl2.SetText("1.00x");
    const HWND enable = f.Control("EnableB");
    SetTimer(nullptr, 0, 50, meanwhile);

    SendMessageW(g_main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(enable), BN_CLICKED),
                 reinterpret_cast<LPARAM>(enable));
}

std::string Settings(Win32WindowFixture& f) { return f.settings.files["Config.Ini"]; }

bool HasLine(const std::string& file, const std::string& key, int value) {
    return file.find(key + " " + std::to_string(value) + " ") != std::string::npos;
}

void Tab(HWND window, HWND from, bool shift) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    SetFocus(from);
    MSG tab{from, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    if (!IsDialogMessageW(window, &tab)) DispatchMessageW(&tab);  // as the message loop does
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

struct Row {
    const char* what;
    std::function<void(Win32WindowFixture&)> run;
};

const Row kRows[] = {
    {"the session ends, then the window closes",
     [](Win32WindowFixture& f) {
         const HWND main = f.Window().Handle();
         f.settings.files.clear();
         EXPECT_NE(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
         SendMessageW(main, WM_ENDSESSION, FALSE, 0);  // called off: nothing yet
         EXPECT_TRUE(f.settings.files.empty());
         SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         EXPECT_EQ(Settings(f).substr(0, 8), "SwpSp 1 ");
         f.settings.files.clear();
         SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
         SendMessageW(main, WM_CLOSE, 0, 0);
         EXPECT_TRUE(f.settings.files.empty());  // written once
         EXPECT_FALSE(IsWindow(main));
     }},
    {"a close from inside the error box",
     [](Win32WindowFixture& f) {
         f.settings.files.clear();
         ShowTheErrorBox(f, CloseTheWindow);
         EXPECT_NE(Settings(f).find("ComPt 0                \\\\.\\COM5\r\n"), std::string::npos);
         EXPECT_FALSE(IsWindow(g_main));
     }},
    {"the focus through start-up, another window and the error box",
     [](Win32WindowFixture& f) {
         const HWND main = f.Window().Handle();
         f.Window().Show(SW_SHOW);
         EXPECT_EQ(GetFocus(), f.Control("SweepSpeed"));  // the first tab stop
         const HWND scale = f.Control("Scale1");
         SetFocus(scale);
         const HWND other =
             CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, nullptr, nullptr);
         SetActiveWindow(other);  // Alt+Tab away
         EXPECT_NE(GetFocus(), scale);
         SetActiveWindow(main);  // and back
         EXPECT_EQ(GetFocus(), scale);
         DestroyWindow(other);
         SetActiveWindow(main);
         ShowTheErrorBox(f, AnswerTheBox);
         EXPECT_EQ(GetFocus(), scale);
     }},
    {"Tab and Shift+Tab leave the log box",
     [](Win32WindowFixture& f) {
         const HWND main = f.Window().Handle();
         f.Window().Show(SW_SHOW);
         f.Form().Display.SetVisible(true);
         const HWND log = f.Control("Display");
         Tab(main, log, false);
         EXPECT_EQ(GetFocus(), GetNextDlgTabItem(main, log, FALSE));
         Tab(main, log, true);
         EXPECT_EQ(GetFocus(), GetNextDlgTabItem(main, log, TRUE));
         EXPECT_NE(GetFocus(), log);
     }},
    {"144 DPI: the table scaled, the settings file in design pixels",
     [](Win32WindowFixture& f) {
         const HWND main = f.Window().Handle();
         EXPECT_EQ(static_cast<int>(GetDpiForWindow(main)), StartDpi());
         if (StartDpi() != 144) {  // as Windows tells a window moved to a denser monitor
             RECT suggested{0, 0, 1600, 1000};
             SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144),
                          reinterpret_cast<LPARAM>(&suggested));
         }
         for (std::size_t i = 0; i < kControlCount; ++i) {
             const ControlPlacement& p = kControlLayout[i];
             const RECT place = PlaceOf(f.Control(std::string(p.name).c_str()));
             EXPECT_EQ(place.left, MulDivRound(p.left, 3, 2)) << p.name;
             EXPECT_EQ(place.top, MulDivRound(p.top, 3, 2)) << p.name;
             EXPECT_EQ(place.right - place.left, MulDivRound(p.width, 3, 2)) << p.name;
             EXPECT_EQ(place.bottom - place.top, MulDivRound(p.height, 3, 2)) << p.name;
         }
         const RECT volt = PlaceOf(f.Control("SyncVoltBar"));
         EXPECT_EQ(volt.right - volt.left, 15);
         Win32WindowFixture::Click(main, 700, 500);  // a redraw at the next tick
         SendMessageW(main, WM_TIMER, 1, 0);
         EXPECT_EQ(f.Form().Geometry().plotLeft, 15);  // the bar's width, as drawn

         f.Form().Form.SetGeometry(40, 50, 600, 400);  // as read from the settings file
         const RECT placed = Outer(main);
         EXPECT_EQ(placed.left, 60);
         EXPECT_EQ(placed.top, 75);
         EXPECT_EQ(placed.right - placed.left, 900);
         EXPECT_EQ(placed.bottom - placed.top, 600);
         SetWindowPos(main, nullptr, 150, 90, 1200, 750, SWP_NOZORDER);  // moved by the user
         SendMessageW(main, WM_CLOSE, 0, 0);
         const std::string file = Settings(f);
         EXPECT_TRUE(HasLine(file, "Wleft", 100) && HasLine(file, "Wtopp", 60) &&
                     HasLine(file, "Wwidt", 800) && HasLine(file, "Whigh", 500))
             << file;
     }},
    {"a place on no monitor",
     [](Win32WindowFixture& f) {
         const HWND main = f.Window().Handle();
         f.Form().Form.SetGeometry(5000, -4000, 400, 300);  // a monitor unplugged since
         MONITORINFO info{};
         info.cbSize = sizeof info;
         GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONULL), &info);
         const RECT placed = Outer(main);
         EXPECT_GE(placed.left, info.rcWork.left);
         EXPECT_GE(placed.top, info.rcWork.top);
         EXPECT_LE(placed.right, info.rcWork.right);
         EXPECT_EQ(placed.right - placed.left, ToDevicePixels(400, StartDpi()));
         SendMessageW(main, WM_CLOSE, 0, 0);
         EXPECT_TRUE(HasLine(Settings(f), "Wleft", 5000)) << Settings(f);  // kept as read
     }},
};

TEST(Win32WindowSessionTest, EveryWayOfEndingFocusAndDpiKeepTheirPromises) {
    if (!Win32WindowFixture::CanOpenWindows()) GTEST_SKIP() << "no display for windows";
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        MSG quit{};  // left by the last row's window, it would end the error box at once
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        Win32WindowFixture f;
        Win32ErrorReporter box;
        f.errorBox = &box;
        f.ports.AddPort("COM5", "\\\\.\\COM5");
        box.SetOwner(f.Window().Handle());
        row.run(f);
    }
}

}  // namespace
}  // namespace velmora
