#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gui/win32/Win32WindowFixture.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

// Start-up has run on one port; from here on only the test's messages reach
// the window, and the line's bytes are what they caused.
class Win32WindowEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::Win32WindowFixture::CanOpenWindows()) GTEST_SKIP() << "no display for windows";
        line = f.ports.AddPort("COM5", "\\\\.\\COM5");
        f.Window();
        line->written.clear();
    }
    int Selected(const char* name) {
        return static_cast<int>(SendMessageW(f.Control(name), LB_GETCURSEL, 0, 0));
    }
    int Top(const char* name) {
        return static_cast<int>(SendMessageW(f.Control(name), LB_GETTOPINDEX, 0, 0));
    }
    bool Ticked(const char* name) {
        return SendMessageW(f.Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    std::string Text(const char* name) {
        char text[256] = {};
        GetWindowTextA(f.Control(name), text, sizeof text);
        return text;
    }
    // Typed at the end of the text, as after a click there.
    void Type(const char* name, const std::string& keys) {
        const HWND edit = f.Control(name);
        const int end = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
        for (char c : keys) SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
    }
    void Scroll(const char* bar, WORD request) {
        const UINT message = std::string(bar) == "SyncVoltBar" ? WM_VSCROLL : WM_HSCROLL;
        SendMessageW(f.Window().Handle(), message, request,
                     reinterpret_cast<LPARAM>(f.Control(bar)));
    }

    test::Win32WindowFixture f;
    std::shared_ptr<test::FakeLine> line;
};

TEST_F(Win32WindowEventsTest, ListRowClicksAndKeysRunTheHandlerProgramSelectionsDoNot) {
    const HWND scale = f.Control("Scale1");
    EXPECT_EQ(Selected("Scale1"), 7);
    EXPECT_EQ(Top("Scale1"), 7);
    test::Win32WindowFixture::Click(scale, 10, 6);  // the entry already selected
    EXPECT_EQ(line->WrittenText(), "%X7\r");
    test::Win32WindowFixture::Key(scale, VK_UP);
    test::Win32WindowFixture::Key(scale, VK_END);
    test::Win32WindowFixture::Key(scale, VK_DOWN);  // already the last: no click
    EXPECT_EQ(line->WrittenText(), "%X7\r%X6\r%X7\r");
    SendMessageW(scale, WM_CHAR, 'a', 0);  // no selection by typing
    EXPECT_EQ(Selected("Scale1"), 7);

    // The list's own scroll bar and the wheel move the row without selecting.
    SendMessageW(scale, WM_VSCROLL, SB_LINEUP, 0);
    SendMessageW(scale, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(Top("Scale1"), 5);
    EXPECT_EQ(Selected("Scale1"), 7);
    EXPECT_EQ(f.Form().Scale1.ItemIndex(), 7);
    test::Win32WindowFixture::Click(scale, 10, 6);
    EXPECT_EQ(f.Form().Scale1.ItemIndex(), 5);
    EXPECT_EQ(Selected("Scale1"), 5);

    line->written.clear();
    const std::size_t logged = f.Form().Display.Lines().size();
    f.Form().Scale2.SetItemIndex(2);
    SettleListSelection(f.Form().Scale2);
    EXPECT_EQ(Selected("Scale2"), 2);
    EXPECT_EQ(Top("Scale2"), 2);
    EXPECT_TRUE(line->written.empty());
    EXPECT_EQ(f.Form().Display.Lines().size(), logged);

    // A list the program refills shows its new entries.
    f.ports.AddPort("COM7", "\\\\.\\COM7");
    SendMessageW(f.Control("RefreshComm"), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(f.Control("ComPort"), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Selected("ComPort"), 0);
}

TEST_F(Win32WindowEventsTest, CheckBoxesEditsAndScrollBarsFollowUserAndProgram) {
    SendMessageW(f.Control("HoldBox"), BM_CLICK, 0, 0);
    EXPECT_TRUE(f.Form().HoldBox.Checked());
    EXPECT_TRUE(Ticked("HoldBox"));
    f.Form().Scope2CheckBox.SetChecked(false);
    EXPECT_FALSE(Ticked("Scope2CheckBox"));
    EXPECT_TRUE(Ticked("Scope1CheckBox"));

    Type("Freq1", "4.x2");
    EXPECT_EQ(f.Form().Freq1.Text(), "2000042");
    f.Form().Ampl2.SetText("1.5e3");
    EXPECT_EQ(Text("Ampl2"), "1.5e3");

    Scroll("SyncPosBar", SB_LINEDOWN);
    Scroll("SyncPosBar", SB_PAGEDOWN);
    Scroll("SyncPosBar", SB_ENDSCROLL);
    EXPECT_EQ(line->WrittenText(), "%S11 1025    0\r%S11 1026    0\r");
    Scroll("SyncVoltBar", SB_BOTTOM);
    EXPECT_EQ(f.Form().SyncVoltBar.Position(), 2000);
    f.Form().SyncVoltBar.SetPosition(-5000);  // the program's value, clamped and shown
    EXPECT_EQ(GetScrollPos(f.Control("SyncVoltBar"), SB_CTL), -2000);

    SendMessageW(f.Control("Button1"), BM_CLICK, 0, 0);
    EXPECT_NE(GetWindowLongPtrW(f.Control("Display"), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_NE(Text("Display").find("%S11 1026    0"), std::string::npos);
    EXPECT_TRUE(f.errors.messages.empty());

    // A log left running keeps only the newest lines, in the box as in the model.
    for (std::size_t i = 0; i <= Memo::kMaxLines; ++i) f.Form().Display.Append(std::to_string(i));
    const HWND display = f.Control("Display");
    const LRESULT lines = SendMessageW(display, EM_GETLINECOUNT, 0, 0);
    EXPECT_LE(lines, static_cast<LRESULT>(Memo::kMaxLines));
    char last[16] = {};
    *reinterpret_cast<WORD*>(last) = sizeof last - 1;
    const LRESULT length = SendMessageA(display, EM_GETLINE, static_cast<WPARAM>(lines - 1),
                                        reinterpret_cast<LPARAM>(last));
    EXPECT_EQ(std::string(last, static_cast<std::size_t>(length)), std::to_string(Memo::kMaxLines));
}

// Channel A's amplitude takes one decimal point; a paste holding anything
// typing would refuse is refused whole, in it and in the digits-only boxes.
TEST_F(Win32WindowEventsTest, AmplitudeTakesAPointAndPastesAreRefusedWhole) {
    SendMessageW(f.Control("Ampl1"), EM_SETSEL, 0, -1);
    for (char c : std::string("0.5.V")) SendMessageW(f.Control("Ampl1"), WM_CHAR, c, 0);
    EXPECT_EQ(f.Form().Ampl1.Text(), "0.5");
    const auto paste = [&](const char* name, const std::wstring& text) {
        if (!OpenClipboard(f.Window().Handle())) return false;
        EmptyClipboard();
        const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        std::memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
        SendMessageW(f.Control(name), EM_SETSEL, 0, -1);
        SendMessageW(f.Control(name), WM_PASTE, 0, 0);
        return true;
    };
    if (paste("Ampl1", L"0.5 V") && paste("Freq2", L"1 5")) {
        EXPECT_EQ(Text("Ampl1"), "0.5");
        EXPECT_EQ(f.Form().Freq2.Text(), "20000");
        paste("Ampl1", L"0.25");
        EXPECT_EQ(f.Form().Ampl1.Text(), "0.25");
        paste("Ampl1", L"0.5");
    } else {
        std::printf("no clipboard here: the pastes were not tried\n");
    }
    f.Form().Waveform1.UserSelect(1);  // "Sine"
    SendMessageW(f.Control("EnableA"), BM_CLICK, 0, 0);
    EXPECT_EQ(line->WrittenText(), "%G0120000.000000,0.500000%z\r\n");
}

TEST_F(Win32WindowEventsTest, SurfaceClicksGreyedLabelsAndTheErrorBoxRoute) {
    const HWND main = f.Window().Handle();
    test::Win32WindowFixture::Click(main, 700, 500);
    EXPECT_EQ(line->WrittenText(), "%z\r\n");
    EXPECT_EQ(GetPixel(f.Window().Picture().Dc(), 500, 500), RGB(0, 0, 255));  // the blue diagonal
    line->written.clear();
    test::Win32WindowFixture::Click(main, 90, 25);  // "Oscilloscope", greyed: the surface
    EXPECT_EQ(line->WrittenText(), "%z\r\n");
    line->written.clear();
    test::Win32WindowFixture::Click(main, 190, 25);  // "Domain" is enabled: not the surface
    SendMessageW(main, WM_RBUTTONUP, 0, MAKELPARAM(700, 500));
    EXPECT_TRUE(line->written.empty());

    Type("Ampl2", "x");
    SendMessageW(f.Control("EnableB"), BM_CLICK, 0, 0);
    EXPECT_EQ(f.errors.messages, (Lines{"'1.00x' is not a valid floating point value"}));
    EXPECT_EQ(Ticked("EnableB"), f.Form().EnableB.Checked());
    SendMessageW(f.Control("Button1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(f.Form().Display.Visible());  // the window carries on
}

TEST_F(Win32WindowEventsTest, ClosingRunsTheCloseHandlerAndDestroysTheWindow) {
    f.settings.files.clear();
    SendMessageW(f.Window().Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(f.settings.files["Config.Ini"].substr(0, 8), "SwpSp 1 ");
    EXPECT_NE(f.settings.files["Config.Ini"].find("ComPt 0                \\\\.\\COM5\r\n"),
              std::string::npos);
    EXPECT_FALSE(IsWindow(f.Window().Handle()));
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace velmora
