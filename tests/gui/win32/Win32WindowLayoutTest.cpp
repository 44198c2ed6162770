#include <string>

#include "app/ControlLayout.h"
#include "gui/win32/Win32WindowFixture.h"

namespace velmora {
namespace {

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }

// Where a child sits in its parent's client area.
RECT PlaceOf(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool HasVerticalBar(HWND hwnd) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    return GetScrollBarInfo(hwnd, static_cast<LONG>(OBJID_VSCROLL), &info) &&
           (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0 &&
           info.rcScrollBar.right > info.rcScrollBar.left;
}

class Win32WindowLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::Win32WindowFixture::CanOpenWindows()) GTEST_SKIP() << "no display for windows";
        f.ports.AddPort("COM5", "\\\\.\\COM5");
    }
    test::Win32WindowFixture f;
};

TEST_F(Win32WindowLayoutTest, EveryControlIsTheNativeControlOfItsKindAtItsDesignPlace) {
    f.Window().Show(SW_SHOWNOACTIVATE);  // the lists show their scroll bars only when shown
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlPlacement& p = kControlLayout[i];
        SCOPED_TRACE(std::string(p.name));
        const HWND hwnd = f.Control(std::string(p.name).c_str());
        ASSERT_NE(hwnd, nullptr);
        const RECT place = PlaceOf(hwnd);
        EXPECT_EQ(place.left, p.left);
        EXPECT_EQ(place.top, p.top);
        EXPECT_EQ(place.right - place.left, p.width);
        EXPECT_EQ(place.bottom - place.top, p.height);
        const LONG_PTR style = Style(hwnd);
        switch (p.kind) {
            case ControlKind::ListBox:
                EXPECT_EQ(ClassOf(hwnd), "ListBox");
                EXPECT_NE(style & LBS_NOTIFY, 0);
                // With more than one entry the mouse reaches every one.
                if (SendMessageW(hwnd, LB_GETCOUNT, 0, 0) > 1) {
                    EXPECT_TRUE(HasVerticalBar(hwnd));
                }
                EXPECT_EQ(SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0), kListRowHeight);
                break;
            case ControlKind::CheckBox:
                EXPECT_EQ(ClassOf(hwnd), "Button");
                EXPECT_EQ(style & BS_TYPEMASK, BS_CHECKBOX);  // the model ticks, not the box
                break;
            case ControlKind::Button:
                EXPECT_EQ(ClassOf(hwnd), "Button");
                EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
                EXPECT_EQ((style & BS_MULTILINE) != 0, p.name == "Defaults");
                EXPECT_EQ((style & WS_TABSTOP) != 0, p.name != "RefreshComm");
                break;
            case ControlKind::EditBox:
                EXPECT_EQ(ClassOf(hwnd), "Edit");
                // Ampl1 takes a decimal point, which ES_NUMBER would refuse.
                EXPECT_EQ((style & ES_NUMBER) != 0, p.name == "Freq1" || p.name == "Freq2");
                break;
            case ControlKind::Label:
                EXPECT_EQ(ClassOf(hwnd), "Edit");
                EXPECT_NE(style & ES_READONLY, 0);
                EXPECT_EQ(style & WS_BORDER, 0);
                EXPECT_EQ(IsWindowEnabled(hwnd) != FALSE, p.enabled);
                EXPECT_EQ(style & (ES_CENTER | ES_RIGHT), p.align == Align::Centre ? ES_CENTER : 0);
                break;
            case ControlKind::Memo:
                EXPECT_EQ(ClassOf(hwnd), "Edit");
                EXPECT_EQ(style & (ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE),
                          ES_MULTILINE | WS_VSCROLL | WS_HSCROLL);  // hidden
                break;
        }
    }
}

TEST_F(Win32WindowLayoutTest, WindowAndScrollBarsHaveTheirDesignGeometry) {
    const HWND main = f.Window().Handle();
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, kClientWidth);
    EXPECT_EQ(client.bottom, kClientHeight);
    EXPECT_EQ(f.Form().Form.ClientWidth(), kClientWidth);

    // The model holds the outer rectangle, as GetWindowRect reports it, and
    // start-up logged it before anything else could move the window.
    RECT outer{};
    GetWindowRect(main, &outer);
    const Window& model = f.Form().Form;
    EXPECT_EQ(model.Left(), outer.left);
    EXPECT_EQ(model.Top(), outer.top);
    EXPECT_EQ(model.Width(), outer.right - outer.left);
    EXPECT_EQ(model.Height(), outer.bottom - outer.top);
    EXPECT_GT(model.Width(), kClientWidth);
    const std::string logged = "W: " + std::to_string(outer.left) + " " +
                               std::to_string(outer.top) + " " +
                               std::to_string(outer.right - outer.left) + " " +
                               std::to_string(outer.bottom - outer.top) + "\r\n";
    EXPECT_EQ(f.Form().Display.Lines().at(1), logged);

    const RECT volt = PlaceOf(f.Control("SyncVoltBar"));
    const RECT pos = PlaceOf(f.Control("SyncPosBar"));
    EXPECT_EQ(volt.left, 3);
    EXPECT_EQ(volt.right - volt.left, 10);
    EXPECT_EQ(volt.top, 3);
    EXPECT_EQ(volt.bottom, kClientHeight - 11 - 3);
    EXPECT_EQ(pos.left, 0);
    EXPECT_EQ(pos.right, kClientWidth);
    EXPECT_EQ(pos.top, kClientHeight - 11);
    EXPECT_EQ(pos.bottom, kClientHeight);
    EXPECT_NE(Style(f.Control("SyncVoltBar")) & SBS_VERT, 0);

    char caption[128] = {};
    GetWindowTextA(main, caption, sizeof caption);
    EXPECT_STREQ(caption, kRunCaption);
}

// A size the program sets (the settings file) is the outer one, applied with
// SetWindowPos; the picture follows the new client size and keeps what it had.
TEST_F(Win32WindowLayoutTest, GeometrySetByTheProgramIsTheOuterRectangle) {
    Window& model = f.Form().Form;
    model.SetGeometry(40, 50, 900, 700);
    RECT outer{};
    GetWindowRect(f.Window().Handle(), &outer);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 50);
    EXPECT_EQ(outer.right - outer.left, 900);
    EXPECT_EQ(outer.bottom - outer.top, 700);
    RECT client{};
    GetClientRect(f.Window().Handle(), &client);
    EXPECT_EQ(f.Form().Form.ClientWidth(), client.right);
    EXPECT_EQ(f.Window().Picture().Width(), client.right);
    EXPECT_EQ(f.Window().Picture().Height(), client.bottom);
    EXPECT_EQ(PlaceOf(f.Control("SyncPosBar")).top, client.bottom - 11);
    model.SetGeometry(0, 0, -5, 2000000000);  // any stored values: kept within reason
    GetWindowRect(f.Window().Handle(), &outer);
    EXPECT_GE(outer.right - outer.left, 1);
    EXPECT_LE(outer.bottom - outer.top, 100000);
    EXPECT_EQ(model.Width(), -5);  // the model keeps what it was given
}

}  // namespace
}  // namespace velmora
