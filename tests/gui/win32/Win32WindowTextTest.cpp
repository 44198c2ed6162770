// Every fixed text of the window in full at 144 DPI, as on a laptop's display
// at 150 %: read from the running window, each text measured in its
// control's font against the room the control has for it. Started at 96 DPI
// the window is told of a monitor at 144 (WM_DPICHANGED);
// test-windows-window.sh also starts it there (VELMORA_TEST_DPI=144).
#include <algorithm>
#include <string>

#include "app/ControlLayout.h"
#include "gui/win32/Win32WindowFixture.h"

namespace velmora {
namespace {

constexpr int kDpi = 144;

std::wstring TextOf(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, static_cast<int>(std::size(text)));
    return text;
}

int Extent(HWND control, const std::wstring& text) {
    const HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return static_cast<int>(size.cx);
}

int ClientWidth(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    return static_cast<int>(client.right);
}

// The room each kind of control leaves its text, and the texts it shows.
void ExpectTextsFit(HWND control, ControlKind kind) {
    const std::wstring text = TextOf(control);
    switch (kind) {
        case ControlKind::Label: {  // a read-only edit: its client less its margins
            const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
            const int room = ClientWidth(control) - LOWORD(margins) - HIWORD(margins);
            EXPECT_LE(Extent(control, text), room);
            break;
        }
        case ControlKind::CheckBox: {  // the box, half a digit, a pixel either side of the caption
            if (text.empty()) break;
            const int box = GetSystemMetricsForDpi(SM_CXMENUCHECK, kDpi);
            EXPECT_LE(Extent(control, text),
                      ClientWidth(control) - box - Extent(control, L"0") / 2 - 2);
            break;
        }
        case ControlKind::Button: {  // a frame of 2 and a pixel of margin; a tall one wraps words
            const bool wraps = (GetWindowLongPtrW(control, GWL_STYLE) & BS_MULTILINE) != 0;
            for (std::size_t at = 0; at < text.size();) {
                const std::size_t end =
                    wraps ? std::min(text.find(L' ', at), text.size()) : text.size();
                const std::wstring part = text.substr(at, end - at);
                EXPECT_LE(Extent(control, part), ClientWidth(control) - 6)
                    << std::string(part.begin(), part.end());
                at = end + 1;
            }
            break;
        }
        case ControlKind::ListBox: {  // every entry, a pixel in from either side of its row
            const int count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
            EXPECT_GT(count, 0);
            for (int i = 0; i < count; ++i) {
                wchar_t entry[256] = {};
                SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(entry));
                RECT row{};
                SendMessageW(control, LB_GETITEMRECT, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(&row));
                EXPECT_LE(Extent(control, entry), row.right - row.left - 2) << i;
            }
            break;
        }
        case ControlKind::EditBox:  // the user's texts
        case ControlKind::Memo:
            break;
    }
}

TEST(Win32WindowTextTest, EveryLabelCaptionAndListEntryFitsItsControlAt144Dpi) {
    if (!test::Win32WindowFixture::CanOpenWindows()) GTEST_SKIP() << "no display for windows";
    test::Win32WindowFixture f;
    f.ports.AddPort("COM5", "\\\\.\\COM5");
    const HWND main = f.Window().Handle();
    f.Window().Show(SW_SHOWNOACTIVATE);
    if (GetDpiForWindow(main) != kDpi) {
        RECT suggested{0, 0, 1600, 1000};
        SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(kDpi, kDpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }
    ASSERT_EQ(f.Form().Form.Dpi(), kDpi);
    for (std::size_t i = 0; i < kControlCount; ++i) {
        SCOPED_TRACE(std::string(kControlLayout[i].name));
        ExpectTextsFit(f.Control(std::string(kControlLayout[i].name).c_str()),
                       kControlLayout[i].kind);
    }
}

}  // namespace
}  // namespace velmora
