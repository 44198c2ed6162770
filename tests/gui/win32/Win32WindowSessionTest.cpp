// How the window ends, its focus and DPI: one table of events, a shown window with the real
// error box for each. test-windows-window.sh runs it at 96 and 144 DPI (Wine's LogPixels);
// started at 96, the window is told of a monitor at 144 (WM_DPICHANGED).
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/ControlLayout.h"
#include "gui/win32/Win32ErrorReporter.h"
#include "gui/win32/Win32WindowFixture.h"

namespace velmora {
namespace {

using test::Win32WindowFixture;

const char* const kDpiText = std::getenv("VELMORA_TEST_DPI");
const int kStartDpi = kDpiText != nullptr ? std::atoi(kDpiText) : 96;
constexpr int kDenseDpi = 144;  // a laptop's display at 150 %
HWND g_main = nullptr;
bool g_closeFromTheBox = false;

RECT PlaceOf(HWND hwnd) {  // in the parent's client area; a top-level window's on the screen
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Extent(HWND control, const std::wstring& text) {
    const HDC dc = GetDC(control);
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return static_cast<int>(size.cx);
}

// The texts a control shows (a wrapping button's words, a list's entries) and the room it
// leaves each: a label (a read-only edit) its client less its margins; a check box its
// client less the box, half a digit and a pixel either side of the caption; a button its
// client less a frame of 2 and a pixel of margin either side; a list its row less a pixel
// either side of the entry.
std::vector<std::pair<std::wstring, int>> TextsAndRoom(HWND control, ControlKind kind) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, static_cast<int>(std::size(text)));
    RECT client{};
    GetClientRect(control, &client);
    const int width = static_cast<int>(client.right);
    std::vector<std::pair<std::wstring, int>> texts;
    if (kind == ControlKind::Label) {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        texts.emplace_back(text, width - LOWORD(margins) - HIWORD(margins));
    } else if (kind == ControlKind::CheckBox && text[0] != L'\0') {
        const int box = GetSystemMetricsForDpi(SM_CXMENUCHECK, kDenseDpi);
        texts.emplace_back(text, width - box - Extent(control, L"0") / 2 - 2);
    } else if (kind == ControlKind::Button) {
        const bool wraps = (GetWindowLongPtrW(control, GWL_STYLE) & BS_MULTILINE) != 0;
        const std::wstring caption = text;
        for (std::size_t at = 0; at < caption.size();) {
            const std::size_t end =
                wraps ? std::min(caption.find(L' ', at), caption.size()) : caption.size();
            texts.emplace_back(caption.substr(at, end - at), width - 6);
            at = end + 1;
        }
    } else if (kind == ControlKind::ListBox) {
        const int count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
        EXPECT_GT(count, 0);
        for (int i = 0; i < count; ++i) {
            wchar_t entry[256] = {};
            SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(entry));
            RECT row{};
            SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&row));
            texts.emplace_back(entry, row.right - row.left - 2);
        }
    }
    return texts;
}

// The pixels a control shows, row by row.
std::vector<COLORREF> Pixels(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const HDC dc = GetDC(hwnd);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(hwnd, dc);
    return pixels;
}

// In the error box's own loop: WM_CLOSE to the window (a taskkill) or the box (OK).
void CALLBACK FromTheBox(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND box = FindWindowW(L"#32770", L"Velmora");
    if (box == nullptr) return;
    KillTimer(nullptr, id);
    PostMessageW(g_closeFromTheBox ? g_main : box, WM_CLOSE, 0, 0);
}

// Ticks Enable B with an amplitude that is no number: the error box.
void ShowTheErrorBox(Win32WindowFixture& f, bool closeTheWindow) {
    g_closeFromTheBox = closeTheWindow;
    f.Form().Ampl2.SetText("1.00x");
    const HWND enable = f.Control("EnableB");
    SetTimer(nullptr, 0, 50, FromTheBox);
    SendMessageW(g_main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(enable), BN_CLICKED),
                 reinterpret_cast<LPARAM>(enable));
}

bool Stored(Win32WindowFixture& f, const std::string& key, int value) {
    return f.settings.files["Config.Ini"].find(key + " " + std::to_string(value) + " ") !=
           std::string::npos;
}

const std::function<void(Win32WindowFixture&)> kRows[] = {
    [](Win32WindowFixture& f) {  // the session ends, then the window closes
        f.settings.files.clear();
        SendMessageW(g_main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(g_main, WM_ENDSESSION, FALSE, 0);  // called off: nothing yet
        EXPECT_TRUE(f.settings.files.empty());
        SendMessageW(g_main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_TRUE(Stored(f, "SwpSp", 1));
        f.settings.files.clear();
        SendMessageW(g_main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        SendMessageW(g_main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(f.settings.files.empty());  // written once
        EXPECT_FALSE(IsWindow(g_main));
    },
    [](Win32WindowFixture& f) {  // a close from inside the error box
        ShowTheErrorBox(f, true);
        EXPECT_TRUE(Stored(f, "ComPt", 0));
        EXPECT_FALSE(IsWindow(g_main));
    },
    [](Win32WindowFixture& f) {  // the focus: at start-up, over Alt+Tab and the error box
        EXPECT_EQ(GetFocus(), f.Control("SweepSpeed"));  // the first tab stop
        const HWND scale = f.Control("Scale1");
        SetFocus(scale);
        const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9,
                                           nullptr, nullptr, nullptr, nullptr);
        SetActiveWindow(other);
        EXPECT_NE(GetFocus(), scale);
        SetActiveWindow(g_main);
        EXPECT_EQ(GetFocus(), scale);
        DestroyWindow(other);
        ShowTheErrorBox(f, false);
        EXPECT_EQ(GetFocus(), scale);
    },
    [](Win32WindowFixture& f) {  // a Tab onto a check box without a caption marks it
        const HWND time = f.Control("Scope1CheckBox"), before = f.Control("Scale2");
        const std::vector<COLORREF> plain = Pixels(time);
        SetFocus(before);
        MSG tab{before, WM_KEYDOWN, VK_TAB, 0, 0, {}};
        if (!IsDialogMessageW(g_main, &tab)) DispatchMessageW(&tab);
        ASSERT_EQ(GetFocus(), time);
        UpdateWindow(time);
        EXPECT_TRUE(Pixels(time) != plain) << "no mark of the focus";
        SetFocus(before);
        UpdateWindow(time);
        EXPECT_TRUE(Pixels(time) == plain) << "the box does not look as before";
    },
    [](Win32WindowFixture& f) {  // Tab leaves the log box, as the message loop hands it on
        f.Form().Display.SetVisible(true);
        const HWND log = f.Control("Display");
        SetFocus(log);
        MSG tab{log, WM_KEYDOWN, VK_TAB, 0, 0, {}};
        if (!IsDialogMessageW(g_main, &tab)) DispatchMessageW(&tab);
        EXPECT_EQ(GetFocus(), GetNextDlgTabItem(g_main, log, FALSE));
    },
    [](Win32WindowFixture& f) {  // 144 DPI: the table scaled, texts in full, settings in 96-DPI
                                 // units, monitors
        EXPECT_EQ(static_cast<int>(GetDpiForWindow(g_main)), kStartDpi);
        RECT suggested{0, 0, 1600, 1000};  // as Windows tells a window moved to a denser monitor
        const WPARAM dpi144 = MAKEWPARAM(kDenseDpi, kDenseDpi);
        if (kStartDpi == 96)
            SendMessageW(g_main, WM_DPICHANGED, dpi144, reinterpret_cast<LPARAM>(&suggested));
        const RECT scale = PlaceOf(f.Control("Scale1")), scaled{167, 89, 167 + 87, 89 + 27};
        EXPECT_TRUE(EqualRect(&scale, &scaled));           // 111, 59, 58 x 18 in the table
        for (std::size_t i = 0; i < kControlCount; ++i) {  // each fixed text in full, in its font
            SCOPED_TRACE(std::string(kControlLayout[i].name));
            const HWND control = f.Control(std::string(kControlLayout[i].name).c_str());
            for (const auto& [text, room] : TextsAndRoom(control, kControlLayout[i].kind))
                EXPECT_LE(Extent(control, text), room) << std::string(text.begin(), text.end());
        }
        Win32WindowFixture::Click(g_main, 700, 500);  // a redraw at the next tick
        SendMessageW(g_main, WM_TIMER, 1, 0);
        EXPECT_EQ(f.Form().Geometry().plotLeft, 15);  // the level bar's width
        f.Form().Form.SetGeometry(40, 50, 600, 400);  // as the settings file has it
        const RECT placed = PlaceOf(g_main), expected{60, 75, 960, 675};
        EXPECT_TRUE(EqualRect(&placed, &expected));
        f.Form().Form.SetGeometry(5000, -4000, 400, 300);  // on a monitor unplugged since
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        GetMonitorInfoW(MonitorFromWindow(g_main, MONITOR_DEFAULTTONULL), &monitor);
        RECT away = PlaceOf(g_main), inside{};
        IntersectRect(&inside, &away, &monitor.rcWork);
        EXPECT_TRUE(EqualRect(&inside, &away));
        SetWindowPos(g_main, nullptr, 150, 90, 1200, 750, SWP_NOZORDER);  // moved by the user
        SendMessageW(g_main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(Stored(f, "Wleft", 100) && Stored(f, "Wtopp", 60) && Stored(f, "Wwidt", 800) &&
                    Stored(f, "Whigh", 500));
    },
};

TEST(Win32WindowSessionTest, EveryWayOfEndingFocusAndDpiKeepTheirPromises) {
    if (!Win32WindowFixture::CanOpenWindows()) GTEST_SKIP() << "no display for windows";
    for (std::size_t row = 0; row < std::size(kRows); ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        MSG quit{};  // left by the last row's window, it would end the error box at once
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        Win32WindowFixture f;
        Win32ErrorReporter box;
        f.errorBox = &box;
        f.ports.AddPort("COM5", "\\\\.\\COM5");
        g_main = f.Window().Handle();
        box.SetOwner(g_main);
        f.Window().Show(SW_SHOW);
        kRows[row](f);
    }
}

}  // namespace
}  // namespace velmora
