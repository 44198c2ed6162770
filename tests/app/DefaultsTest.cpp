#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

struct Defaults : ::testing::Test {
    test::FormFixture f;
    std::shared_ptr<test::FakeLine> acm0 = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    std::shared_ptr<test::FakeLine> acm1 = f.ports.AddPort("ttyACM1", "/dev/ttyACM1");
    TForm2& form = f.Form();

    // Lines the form logged after `from`.
    Lines LoggedSince(std::size_t from) const {
        const Lines& all = form.Display.Lines();
        return Lines(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
    }
};

TEST_F(Defaults, ButtonSetsFactoryValuesAndResendsEverythingInOrder) {
    form.FormCreate();
    form.ComPort.UserSelect(0);  // the button keeps the user's port
    form.SyncVoltBar.SetPosition(-300);
    form.Scope1CheckBox.UserClick();
    form.Fft2CheckBox.UserClick();
    form.HoldBox.UserClick();
    form.Waveform1.UserSelect(3);
    form.Freq1.SetText("123");
    form.EnableB.SetChecked(true);
    form.Form.SetGeometry(5, 6, 700, 500);
    acm0->written.clear();
    acm1->written.clear();
    const std::size_t logged = form.Display.Lines().size();
    const int opens = f.ports.opens;

    form.Dispatch([&] { form.DefaultsClick(); });

    EXPECT_EQ(form.SweepSpeed.Item(form.SweepSpeed.ItemIndex()), "XY Mode");
    EXPECT_EQ(form.SyncSrcBox.Item(form.SyncSrcBox.ItemIndex()), "Ch1");
    EXPECT_EQ(form.SyncPolBox.Item(form.SyncPolBox.ItemIndex()), "Rise");
    EXPECT_EQ(form.ComPort.ItemIndex(), 0);
    EXPECT_EQ(form.Chan1Probe.Item(form.Chan1Probe.ItemIndex()), "x10");
    EXPECT_EQ(form.Chan2Probe.Item(form.Chan2Probe.ItemIndex()), "x10");
    EXPECT_EQ(form.Scale1.Item(form.Scale1.ItemIndex()),
              "\xB1"
              "240V");
    EXPECT_EQ(form.Scale2.Item(form.Scale2.ItemIndex()),
              "\xB1"
              "240V");
    for (const ListBox* list : {&form.SweepSpeed, &form.SyncSrcBox, &form.SyncPolBox,
                                &form.Chan1Probe, &form.Scale1, &form.Chan2Probe, &form.Scale2}) {
        EXPECT_EQ(list->TopIndex(), 0);  // the one visible row shows the selection
    }
    EXPECT_EQ(form.SyncVoltBar.Position(), 0);
    EXPECT_EQ(form.SyncPosBar.Position(), 0);
    // Left alone: check boxes, generator, geometry.
    EXPECT_FALSE(form.Scope1CheckBox.Checked());
    EXPECT_TRUE(form.Scope2CheckBox.Checked());
    EXPECT_TRUE(form.Fft2CheckBox.Checked());
    EXPECT_TRUE(form.HoldBox.Checked());
    EXPECT_TRUE(form.EnableB.Checked());
    EXPECT_EQ(form.Waveform1.ItemIndex(), 3);
    EXPECT_EQ(form.Freq1.Text(), "123");
    EXPECT_EQ(form.Form.Left(), 5);
    EXPECT_EQ(form.Form.Width(), 700);

    EXPECT_EQ(f.ports.opens, opens + 1);
    // The bars' sync commands reach the port before it is reopened; after the
    // handlers, the ticked generator's command (B, no waveform chosen) and one
    // request, also under Hold: the first frame is asked for after them all.
    EXPECT_EQ(acm0->WrittenText(),
              std::string("%S00 1024 2000\r%S00    0 2000\r%z\r\n%X0\r%Y0\r%S00    0 2000\r"
                          "%S00    0 2000\r%G1/20000.000000,1.000000%z\r\n"));
    EXPECT_TRUE(acm1->written.empty());
    EXPECT_EQ(
        LoggedSince(logged),
        (Lines{"%S00 1024 2000\r", "%S00    0 2000\r",  // the bars, before the reopen
               "/dev/ttyACM0", "/dev/ttyACM0", "   opened", "/dev/ttyACM0", "   configured",
               "Range 0", "%X0\r", "Range 0", "%Y0\r", "SweepSpeed 0", "%S00    0 2000\r",
               "ProbeType1 0", "ProbeType2 0", "%S00    0 2000\r", "%G1/20000.000000,1.000000"}));
    EXPECT_TRUE(f.errors.messages.empty());
}

TEST_F(Defaults, BarsMovedByTheButtonSendOnThePortStillOpen) {
    form.FormCreate();
    form.ComPort.UserSelect(0);
    acm0->written.clear();
    form.SyncVoltBar.SetPosition(250);
    form.DefaultsClick();
    EXPECT_EQ(acm0->WrittenText(),
              std::string("%S11 1024 -250\r%S00 1024 2000\r%S00    0 2000\r%z\r\n%X0\r%Y0\r"
                          "%S00    0 2000\r%S00    0 2000\r%z\r\n"));
}

TEST_F(Defaults, WithBothBarsAtZeroOnlyTheHandlersSendSync) {
    form.FormCreate();
    form.SyncPosBar.SetPosition(0);
    acm1->written.clear();
    const std::size_t logged = form.Display.Lines().size();
    form.DefaultsClick();
    EXPECT_EQ(acm1->WrittenText(),
              std::string("%z\r\n%X0\r%Y0\r%S00    0 2000\r%S00    0 2000\r%z\r\n"));
    EXPECT_EQ(LoggedSince(logged).front(), "/dev/ttyACM1");
}

TEST_F(Defaults, WithoutAnyPortTheHandlersStillRunAndLog) {
    test::FormFixture bare;
    TForm2& lone = bare.Form();
    lone.FormCreate();
    const std::size_t logged = lone.Display.Lines().size();
    lone.DefaultsClick();
    EXPECT_EQ(lone.ComPort.ItemIndex(), -1);
    const Lines& all = lone.Display.Lines();
    EXPECT_EQ(Lines(all.begin() + static_cast<std::ptrdiff_t>(logged), all.end()),
              (Lines{"%S00    0 2000\r",  // only the position bar moves
                     "Range 0", "%X0\r", "Range 0", "%Y0\r", "SweepSpeed 0", "%S00    0 2000\r",
                     "ProbeType1 0", "ProbeType2 0", "%S00    0 2000\r"}));
}

TEST_F(Defaults, ClosingAfterTheButtonStoresTheFactoryValues) {
    form.FormCreate();
    form.DefaultsClick();
    form.FormClose();
    const std::string& file = f.settings.files["Config.Ini"];
    const std::string b(16, ' ');
    for (const std::string& line : {"SwpSp 0" + b, "SySrc 0" + b, "SyPol 0" + b,
                                    "ComPt 1" + b + "/dev/ttyACM1", "Prob1 0" + b, "Scal1 0" + b,
                                    "Prob2 0" + b, "Scal2 0" + b, "SyLev 0" + b, "SyPos 0" + b}) {
        EXPECT_NE(file.find(line + "\r\n"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace velmora
