#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

const std::string kBlanks(16, ' ');

// One settings line as written: "key value", 16 blanks, CR LF.
std::string L(const std::string& keyAndValue) { return keyAndValue + kBlanks + "\r\n"; }

struct SettingsStartup : ::testing::Test {
    test::FormFixture f;
    std::shared_ptr<test::FakeLine> acm0 = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    std::shared_ptr<test::FakeLine> acm1 = f.ports.AddPort("ttyACM1", "/dev/ttyACM1");
    std::string& File() { return f.settings.files["Config.Ini"]; }
};

TEST_F(SettingsStartup, DisplayShowsTheFileBetweenGeometryAndPortWithSyncLinesOfMovedBars) {
    File() = L("SwpSp 1") + L("SySrc 0") + L("SyPol 1") + "ComPt 0" + kBlanks + "/dev/ttyACM1\r\n" +
             L("Prob1 0") + L("Scal1 3") + L("Prob2 1") + L("Scal2 5") + L("SyLev -350") +
             L("SyPos 700") + L("Wleft 10") + L("Wtopp 20") + L("Wwidt 800") + L("Whigh 600") +
             L("Scop1 0") + L("Scop2 1") + L("Fft1C 1") + L("Fft2C 0");
    TForm2& form = f.Form();
    form.FormCreate();
    EXPECT_EQ(form.Display.Lines(), (Lines{"%S// 1024    0\r",
                                           "W: 0 277 1511 899\r\n",
                                           "Reading config",
                                           "SwpSp 1" + kBlanks + "!",
                                           "SySrc 0" + kBlanks + "!",
                                           "SyPol 1" + kBlanks + "!",
                                           "ComPt 0" + kBlanks + "/dev/ttyACM1!",
                                           "Prob1 0" + kBlanks + "!",
                                           "Scal1 3" + kBlanks + "!",
                                           "Prob2 1" + kBlanks + "!",
                                           "Scal2 5" + kBlanks + "!",
                                           "SyLev -350" + kBlanks + "!",
                                           "%S01 1024  350\r",
                                           "SyPos 700" + kBlanks + "!",
                                           "%S01  700  350\r",
                                           "Wleft 10" + kBlanks + "!",
                                           "Wtopp 20" + kBlanks + "!",
                                           "Wwidt 800" + kBlanks + "!",
                                           "Whigh 600" + kBlanks + "!",
                                           "Scop1 0" + kBlanks + "!",
                                           "Scop2 1" + kBlanks + "!",
                                           "Fft1C 1" + kBlanks + "!",
                                           "Fft2C 0" + kBlanks + "!",
                                           "End config",
                                           "/dev/ttyACM1",
                                           "/dev/ttyACM1",
                                           "   opened",
                                           "/dev/ttyACM1",
                                           "   configured",
                                           "SweepSpeed 1",
                                           "%S01  700  350\r",
                                           "%S01  700  350\r",
                                           "ProbeType1 0",
                                           "Range 3",
                                           "%X3\r",
                                           "ProbeType2 1",
                                           "Range 5",
                                           "%Y5\r"}));
    // The port line's path chooses the port, whatever its index says. The
    // sync lines of the reader went out before any port was open; the last
    // request follows every setting.
    EXPECT_EQ(form.ComPort.ItemIndex(), 1);
    EXPECT_EQ(acm1->WrittenText(), "%z\r\n%S01  700  350\r%S01  700  350\r%X3\r%Y5\r%z\r\n");
    EXPECT_TRUE(acm0->written.empty());

    EXPECT_EQ(form.Scale1.Item(form.Scale1.ItemIndex()),
              "\xB1"
              "120V");
    EXPECT_EQ(form.Scale2.Item(form.Scale2.ItemIndex()),
              "\xB1"
              "4 V");
    EXPECT_EQ(form.Form.Left(), 10);
    EXPECT_EQ(form.Form.Top(), 20);
    EXPECT_EQ(form.Form.Width(), 800);
    EXPECT_EQ(form.Form.Height(), 600);
    EXPECT_FALSE(form.Scope1CheckBox.Checked());
    EXPECT_TRUE(form.Fft1CheckBox.Checked());
    EXPECT_EQ(form.Sync().syncLevel, 350);
    EXPECT_EQ(form.Sync().syncPosition, 700);
}

TEST_F(SettingsStartup, StoredSelectionsOutsideTheirListsEndAsTheLastEntry) {
    File() = L("SwpSp 7") + L("SySrc -1") + L("SyPol 0") + L("ComPt 5") + L("Prob1 9") +
             L("Scal1 -1") + L("Prob2 0") + L("Scal2 8");
    TForm2& form = f.Form();
    form.FormCreate();
    EXPECT_EQ(form.SweepSpeed.ItemIndex(), 1);
    EXPECT_EQ(form.SyncSrcBox.ItemIndex(), 1);
    EXPECT_EQ(form.SyncPolBox.ItemIndex(), 0);
    EXPECT_EQ(form.ComPort.ItemIndex(), 1);  // beyond this start-up's ports: the last one
    EXPECT_STREQ(form.Link().CommPath(), "/dev/ttyACM1");
    EXPECT_EQ(form.Chan1Probe.ItemIndex(), 1);
    EXPECT_EQ(form.Scale1.ItemIndex(), 7);
    EXPECT_EQ(form.Scale2.ItemIndex(), 7);
    EXPECT_EQ(form.Scale2.TopIndex(), 7);
    // SweepSpeedClick's sync command runs before the source list is settled,
    // so it still carries '0' + (-1); the next one carries the settled "Ch2".
    EXPECT_EQ(acm1->WrittenText(), "%z\r\n%S/0 1024    0\r%S10 1024    0\r%X7\r%Y7\r%z\r\n");
}

TEST_F(SettingsStartup, FirstCloseWritesTheStartUpStateIntoTheNewFile) {
    TForm2& form = f.Form();
    form.FormCreate();
    ASSERT_EQ(f.settings.files.count("Config.Ini"), 1u);  // created empty by the reader
    form.FormClose();
    EXPECT_EQ(File(), L("SwpSp 1") + L("SySrc 1") + L("SyPol 1") + "ComPt 1" + kBlanks +
                          "/dev/ttyACM1\r\n" + L("Prob1 1") + L("Scal1 7") + L("Prob2 1") +
                          L("Scal2 7") + L("SyLev 0") + L("SyPos 1024") + L("Wleft 0") +
                          L("Wtopp 277") + L("Wwidt 1511") + L("Whigh 899") + L("Scop1 1") +
                          L("Scop2 1") + L("Fft1C 0") + L("Fft2C 0"));
}

TEST_F(SettingsStartup, CloseAndRestartRestoreEveryStoredSetting) {
    TForm2& first = f.Form();
    first.FormCreate();
    first.SweepSpeed.UserSelect(0);
    first.SyncSrcBox.UserSelect(0);
    first.ComPort.UserSelect(0);
    first.Chan2Probe.UserSelect(0);
    first.Scale2.UserSelect(2);
    first.SyncVoltBar.SetPosition(1500);  // the file keeps the position, not the level
    first.SyncPosBar.SetPosition(3);
    first.Form.SetGeometry(-8, -8, 1936, 1056);  // a maximised window's outer frame
    first.Scope2CheckBox.UserClick();
    first.Fft2CheckBox.UserClick();
    first.HoldBox.UserClick();  // not stored
    first.FormClose();
    const std::string bytes = File();
    EXPECT_NE(bytes.find(L("SyLev 1500")), std::string::npos);
    EXPECT_NE(bytes.find("ComPt 0" + kBlanks + "/dev/ttyACM0\r\n"), std::string::npos);

    test::FormFixture next;
    next.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    next.ports.AddPort("ttyACM1", "/dev/ttyACM1");
    next.settings.files["Config.Ini"] = bytes;
    TForm2& second = next.Form();
    second.FormCreate();
    for (auto [a, b] : {std::pair{&first.SweepSpeed, &second.SweepSpeed},
                        {&first.SyncSrcBox, &second.SyncSrcBox},
                        {&first.SyncPolBox, &second.SyncPolBox},
                        {&first.ComPort, &second.ComPort},
                        {&first.Chan1Probe, &second.Chan1Probe},
                        {&first.Scale1, &second.Scale1},
                        {&first.Chan2Probe, &second.Chan2Probe},
                        {&first.Scale2, &second.Scale2}}) {
        EXPECT_EQ(a->ItemIndex(), b->ItemIndex());
        EXPECT_EQ(a->Item(a->ItemIndex()), b->Item(b->ItemIndex()));
    }
    EXPECT_EQ(second.SyncVoltBar.Position(), 1500);
    EXPECT_EQ(second.SyncPosBar.Position(), 3);
    EXPECT_EQ(second.Form.Left(), -8);
    EXPECT_EQ(second.Form.Height(), 1056);
    EXPECT_FALSE(second.Scope2CheckBox.Checked());
    EXPECT_TRUE(second.Fft2CheckBox.Checked());
    EXPECT_FALSE(second.HoldBox.Checked());
    EXPECT_STREQ(second.Link().CommPath(), "/dev/ttyACM0");
    second.FormClose();
    EXPECT_EQ(next.settings.files["Config.Ini"], bytes);
}

// A settings file that cannot be written keeps what it held, and the loss
// is never silent: a close by the user shows the path and the reason in the
// error box, a close by the system logs them.
TEST_F(SettingsStartup, AHeldFileIsNeitherReadNorWrittenAndTheCloseSaysSo) {
    const std::string stored = L("SwpSp 0") + L("SySrc 0");
    File() = stored;
    f.settings.held = true;
    TForm2& form = f.Form();
    form.FormCreate();
    EXPECT_EQ(form.Display.Lines()[2], "/dev/ttyACM1");  // straight from "W:" to the port
    EXPECT_EQ(form.SweepSpeed.ItemIndex(), 1);
    EXPECT_EQ(form.SyncSrcBox.ItemIndex(), 1);
    form.Dispatch([&] { form.FormClose(); });
    EXPECT_EQ(File(), stored);
    const std::string said =
        "Cannot save the settings in /home/u/Config.Ini: another program has it open";
    EXPECT_EQ(form.Display.Lines().back(), said);
    EXPECT_EQ(f.errors.messages, (std::vector<std::string>{said}));
}

TEST_F(SettingsStartup, AnUnwritableDirectoryLosesOnlyTheNewFile) {
    const std::string stored = L("SwpSp 0") + L("SySrc 0") + L("SyPol 0");
    File() = stored;
    f.settings.readOnly = true;
    TForm2& form = f.Form();
    form.FormCreate();
    EXPECT_EQ(form.SweepSpeed.ItemIndex(), 0);  // reading still works
    EXPECT_EQ(form.SyncPolBox.ItemIndex(), 0);
    form.SweepSpeed.UserSelect(1);
    form.Dispatch([&] { form.FormClose(TForm2::ClosedBy::kSystem); });
    EXPECT_EQ(File(), stored);
    EXPECT_TRUE(f.errors.messages.empty());  // the end of a session: the log only
    EXPECT_EQ(form.Display.Lines().back(),
              "Cannot save the settings in /home/u/Config.Ini: Permission denied");
    form.Timer1Timer();  // the form carries on as before
    EXPECT_EQ(form.SweepSpeed.ItemIndex(), 1);
}

}  // namespace
}  // namespace velmora
