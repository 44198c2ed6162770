#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

TEST(StartupTest, WithoutSettingsFileLogsAndSendsInOrder) {
    test::FormFixture f;
    auto line = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    TForm2& form = f.Form();
    form.FormCreate();

    // The first start finds no settings file: the reader's open creates it
    // empty, so the reader logs its two lines and changes nothing.
    // Until the lists are settled the sync command carries '0' + (-1) for the
    // unselected source and polarity lists, exactly as formatted.
    EXPECT_EQ(form.Display.Lines(),
              (Lines{"%S// 1024    0\r", "W: 0 277 1511 899\r\n", "Reading config", "End config",
                     "/dev/ttyACM0", "/dev/ttyACM0", "   opened", "/dev/ttyACM0", "   configured",
                     "SweepSpeed 1", "%S// 1024    0\r", "%S11 1024    0\r", "ProbeType1 1",
                     "Range 7", "%X7\r", "ProbeType2 1", "Range 7", "%Y7\r"}));
    // One more request after the settings: the first frame is taken with them.
    EXPECT_EQ(line->WrittenText(),
              std::string("%z\r\n%S// 1024    0\r%S11 1024    0\r%X7\r%Y7\r%z\r\n"));
    EXPECT_EQ(form.Form.Caption(), "Velmora Rev 1.31 Nov 25 2025 16:05:18");
}

TEST(StartupTest, ControlsShowTheirStartUpValues) {
    test::FormFixture f;
    f.ports.AddPort("ttyS0", "/dev/ttyS0");
    f.ports.AddPort("ttyVIRT0", "/tmp/ports/ttyVIRT0");
    TForm2& form = f.Form();
    form.FormCreate();
    EXPECT_EQ(form.SweepSpeed.Item(form.SweepSpeed.ItemIndex()), "2 mSec/div");
    EXPECT_EQ(form.Scale1.Item(form.Scale1.ItemIndex()),
              "\xB1"
              "1 V");
    EXPECT_EQ(form.Scale2.Item(form.Scale2.ItemIndex()),
              "\xB1"
              "1 V");
    EXPECT_EQ(form.Chan1Probe.ItemIndex(), 1);
    EXPECT_EQ(form.Chan2Probe.ItemIndex(), 1);
    EXPECT_EQ(form.SyncSrcBox.Item(form.SyncSrcBox.ItemIndex()), "Ch2");
    EXPECT_EQ(form.SyncPolBox.Item(form.SyncPolBox.ItemIndex()), "Fall");
    EXPECT_EQ(form.ComPort.ItemIndex(), 1);  // the last port
    EXPECT_STREQ(form.Link().CommPath(), "/tmp/ports/ttyVIRT0");
    EXPECT_EQ(form.SyncVoltBar.Position(), 0);
    EXPECT_EQ(form.SyncPosBar.Position(), 1024);
    EXPECT_TRUE(form.Scope1CheckBox.Checked());
    EXPECT_TRUE(form.Scope2CheckBox.Checked());
    for (const CheckBox* box :
         {&form.Fft1CheckBox, &form.Fft2CheckBox, &form.HoldBox, &form.EnableA, &form.EnableB}) {
        EXPECT_FALSE(box->Checked());
    }
    EXPECT_EQ(form.Waveform1.ItemIndex(), -1);
    EXPECT_EQ(form.Waveform2.Count(), 11);
    EXPECT_EQ(form.Freq1.Text(), "20000");
    EXPECT_EQ(form.Ampl1.Text(), "1.00");
    EXPECT_FALSE(form.Display.Visible());
    EXPECT_EQ(form.Receive().timerInterval, 200);
    EXPECT_TRUE(form.Receive().requestPending);
}

TEST(StartupTest, WithoutAnyPortStartUpGoesOnAndSendsNothing) {
    test::FormFixture f;
    TForm2& form = f.Form();
    form.FormCreate();
    EXPECT_EQ(form.ComPort.Count(), 0);
    EXPECT_EQ(form.ComPort.ItemIndex(), -1);
    EXPECT_EQ(form.Display.Lines(),
              (Lines{"%S// 1024    0\r", "W: 0 277 1511 899\r\n", "Reading config", "End config",
                     "SweepSpeed 1", "%S// 1024    0\r", "%S11 1024    0\r", "ProbeType1 1",
                     "Range 7", "%X7\r", "ProbeType2 1", "Range 7", "%Y7\r",
                     "no serial port found"}));  // the picture says so, and what to do
    form.Timer1Timer();                          // ticks run quietly without a port
    EXPECT_TRUE(f.errors.messages.empty());
}

TEST(StartupTest, UserClicksRunHandlersAndProgramSelectionsDoNot) {
    test::FormFixture f;
    auto line = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    TForm2& form = f.Form();
    form.FormCreate();
    line->written.clear();
    form.Scale1.SetItemIndex(2);
    EXPECT_TRUE(line->written.empty());
    form.Scale1.UserSelect(3);
    form.Scale2.UserSelect(4);
    EXPECT_EQ(line->WrittenText(), std::string("%X3\r%Y4\r"));
    EXPECT_EQ(form.Display.Lines()[form.Display.Lines().size() - 4], "Range 3");

    line->written.clear();
    form.SyncVoltBar.SetPosition(-300);  // a bar moved by the program still sends
    EXPECT_EQ(line->WrittenText(), std::string("%S11 1024  300\r"));
    EXPECT_EQ(form.Sync().syncLevel, 300);

    form.Button1Click();
    EXPECT_TRUE(form.Display.Visible());
    form.Button1Click();
    EXPECT_FALSE(form.Display.Visible());
}

TEST(StartupTest, AnErrorEscapingAnEventIsShownAndTheProgramCarriesOn) {
    test::FormFixture f;
    TForm2& form = f.Form();
    form.Dispatch([] { throw std::runtime_error("'x' is not a valid floating point value"); });
    form.Dispatch([] { throw 42; });
    EXPECT_EQ(f.errors.messages,
              (std::vector<std::string>{"'x' is not a valid floating point value", ""}));
}

}  // namespace
}  // namespace velmora
