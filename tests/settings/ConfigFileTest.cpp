#include <gtest/gtest.h>

#include <string>

#include "settings/ConfigFile.h"
#include "support/FakeSettingsStore.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;

// "key value", the 16 blanks and CR LF of every line.
std::string L(const std::string& keyAndValue) {
    return keyAndValue + std::string(16, ' ') + "\r\n";
}

// A store whose writer keeps every write separately.
class ChunkStore final : public SettingsStore {
  public:
    std::vector<std::string> chunks;
    std::unique_ptr<SettingsReader> OpenForRead(const char*) override { return nullptr; }
    std::unique_ptr<SettingsWriter> OpenForWrite(const char* name) override {
        EXPECT_STREQ(name, "Config.Ini");
        struct Writer final : SettingsWriter {
            std::vector<std::string>& chunks;
            explicit Writer(std::vector<std::string>& c) : chunks(c) {}
            bool Write(const char* bytes, std::size_t n) override {
                chunks.emplace_back(bytes, n);
                return true;
            }
        };
        return std::make_unique<Writer>(chunks);
    }
};

// The controls the file covers, on their own, with bars that log their changes.
struct Controls {
    ListBox sweep, source, polarity, comPort, probe1, scale1, probe2, scale2;
    ScrollBar volt{-2000, 2000, 0}, pos{0, 2048, 1024};
    Window window;
    CheckBox scope1{true}, scope2{true}, fft1, fft2;
    SettingsPanel panel{sweep, source, polarity, comPort, probe1, scale1, probe2, scale2,
                        volt,  pos,    window,   scope1,  scope2, fft1,   fft2};
    test::FakeSettingsStore store;
    Memo display;

    Controls() {
        window.SetGeometry(0, 277, 1511, 899);
        volt.onChange = [this] { display.Append("volt " + std::to_string(volt.Position())); };
        pos.onChange = [this] { display.Append("pos " + std::to_string(pos.Position())); };
    }

    std::string& File() { return store.files["Config.Ini"]; }
    void Read() { ReadConfig(store, panel, display); }
    void Write(const char* path = "/dev/ttyACM0") { WriteConfig(store, panel, path); }

    void SetState() {
        for (auto [list, index] : {std::pair{&sweep, 1},
                                   {&source, 0},
                                   {&polarity, 1},
                                   {&comPort, 2},
                                   {&probe1, 0},
                                   {&scale1, 3},
                                   {&probe2, 1},
                                   {&scale2, 7}}) {
            list->SetItemIndex(index);
        }
        volt.SetPosition(-350);
        pos.SetPosition(700);
        window.SetGeometry(10, 20, 800, 600);
        scope1.SetChecked(true);
        scope2.SetChecked(false);
        fft1.SetChecked(true);
        fft2.SetChecked(false);
    }

    std::vector<int> Values() const {
        std::vector<int> v;
        for (int slot = 0; slot < kConfigSettings; ++slot) v.push_back(panel.Value(slot));
        return v;
    }
};

struct ConfigFixture : ::testing::Test, Controls {};

const std::string kStateFile =
    L("SwpSp 1") + L("SySrc 0") + L("SyPol 1") + "ComPt 2" + std::string(16, ' ') +
    "/dev/ttyACM0\r\n" + L("Prob1 0") + L("Scal1 3") + L("Prob2 1") + L("Scal2 7") +
    L("SyLev -350") + L("SyPos 700") + L("Wleft 10") + L("Wtopp 20") + L("Wwidt 800") +
    L("Whigh 600") + L("Scop1 1") + L("Scop2 0") + L("Fft1C 1") + L("Fft2C 0");

TEST_F(ConfigFixture, WriterWritesEighteenLinesByteForByteOneWriteEach) {
    SetState();
    Write();
    EXPECT_EQ(File(), kStateFile);

    ChunkStore chunks;
    WriteConfig(chunks, panel, "\\\\.\\COM5");
    ASSERT_EQ(chunks.chunks.size(), 18u);
    EXPECT_EQ(chunks.chunks[3], "ComPt 2                \\\\.\\COM5\r\n");
    EXPECT_EQ(chunks.chunks[3].size(), 33u);
    EXPECT_EQ(chunks.chunks[8], "SyLev -350                \r\n");
    EXPECT_EQ(chunks.chunks[8].size(), 28u);

    comPort.SetItemIndex(-1);  // no selection is written as -1
    Write("");
    EXPECT_EQ(File().substr(File().find("ComPt"), 26), "ComPt -1                \r\n");
}

TEST_F(ConfigFixture, WhatIsWrittenReadsBackIntoTheSameControls) {
    SetState();
    Write();
    const std::vector<int> written = Values();
    const std::string bytes = File();

    Controls other;
    other.File() = bytes;
    other.Read();
    EXPECT_EQ(other.Values(), written);
    other.Write();
    EXPECT_EQ(other.File(), bytes);
}

TEST_F(ConfigFixture, KeysAreNeverComparedOnlyPositionsCount) {
    std::string misspelt = kStateFile;
    for (std::size_t at = 0; at < misspelt.size(); at = misspelt.find("\r\n", at) + 2) {
        misspelt.replace(at, 6, "Xy?z! ");
    }
    File() = misspelt;
    Read();
    Controls keyed;  // the same file with its keys right
    keyed.File() = kStateFile;
    keyed.Read();
    EXPECT_EQ(Values(), keyed.Values());
    EXPECT_EQ(display.Lines()[1], "Xy?z! 1" + std::string(16, ' ') + "!");
}

TEST_F(ConfigFixture, DisplayShowsEachLineWithBarHandlersBetweenThem) {
    File() = L("SwpSp 0") + L("SySrc 1") + L("SyPol 0") + L("ComPt 0") + L("Prob1 1") +
             L("Scal1 2") + L("Prob2 0") + L("Scal2 6") + L("SyLev 5000") + L("SyPos 1024") +
             L("Wleft 1") + L("Wtopp 2") + L("Wwidt 3") + L("Whigh 4") + L("Scop1 2") +
             L("Scop2 0") + L("Fft1C -7") + L("Fft2C 0");
    Read();
    const std::string b(16, ' ');
    EXPECT_EQ(display.Lines(), (Lines{"Reading config",
                                      "SwpSp 0" + b + "!",
                                      "SySrc 1" + b + "!",
                                      "SyPol 0" + b + "!",
                                      "ComPt 0" + b + "!",
                                      "Prob1 1" + b + "!",
                                      "Scal1 2" + b + "!",
                                      "Prob2 0" + b + "!",
                                      "Scal2 6" + b + "!",
                                      "SyLev 5000" + b + "!",
                                      "volt 2000",  // clamped, and the change handler runs
                                      "SyPos 1024" + b + "!",  // unchanged: no handler
                                      "Wleft 1" + b + "!",
                                      "Wtopp 2" + b + "!",
                                      "Wwidt 3" + b + "!",
                                      "Whigh 4" + b + "!",
                                      "Scop1 2" + b + "!",
                                      "Scop2 0" + b + "!",
                                      "Fft1C -7" + b + "!",
                                      "Fft2C 0" + b + "!",
                                      "End config"}));
    EXPECT_EQ(Values(),
              (std::vector<int>{0, 1, 0, 0, 1, 2, 0, 6, 2000, 1024, 1, 2, 3, 4, 1, 0, 1, 0}));
    Write();  // a hand-written 2 comes back as 1
    EXPECT_NE(File().find(L("Scop1 1")), std::string::npos);
    EXPECT_NE(File().find(L("Fft1C 1")), std::string::npos);
}

TEST_F(ConfigFixture, OutOfRangeValuesAreClampedByBarsAndKeptByLists) {
    File() = L("SwpSp 7") + L("SySrc -1") + L("SyPol 0") + L("ComPt 99") + L("Prob1 0") +
             L("Scal1 0") + L("Prob2 0") + L("Scal2 0") + L("SyLev -5000") + L("SyPos -5") +
             L("Wleft -100") + L("Wtopp 99999") + L("Wwidt 0") + L("Whigh -1");
    Read();
    EXPECT_EQ(sweep.ItemIndex(), 7);  // start-up settles lists, not the reader
    EXPECT_EQ(source.ItemIndex(), -1);
    EXPECT_EQ(comPort.ItemIndex(), 99);
    EXPECT_EQ(volt.Position(), -2000);
    EXPECT_EQ(pos.Position(), 0);
    EXPECT_EQ(window.Left(), -100);  // geometry goes in unchecked
    EXPECT_EQ(window.Top(), 99999);
    EXPECT_EQ(window.Width(), 0);
    EXPECT_EQ(window.Height(), -1);
}

TEST_F(ConfigFixture, OverlongFirstLineFeedsItsRestToTheSecondSetting) {
    File() = "SwpSp 0" + std::string(83, ' ') + "abcdef1   \r\n" + L("SySrc 0") + L("SyPol 0") +
             L("ComPt 0") + L("Prob1 0") + L("Scal1 0") + L("Prob2 0") + L("Scal2 0") +
             L("SyLev 0") + L("SyPos 5") + L("Wleft 0") + L("Wtopp 0") + L("Wwidt 0") +
             L("Whigh 0") + L("Scop1 0") + L("Scop2 0") + L("Fft1C 0") + L("Fft2C 1");
    Read();
    ASSERT_EQ(display.Lines().size(), 21u);  // no bar moved: nothing in between
    EXPECT_EQ(display.Lines()[1], "SwpSp 0" + std::string(83, ' ') + "!");
    EXPECT_EQ(display.Lines()[2], "abcdef1   !");
    EXPECT_EQ(source.ItemIndex(), 1);
    EXPECT_EQ(pos.Position(), 0);  // the SyLev line landed on SyPos
    EXPECT_FALSE(fft2.Checked());  // the last line is never read
    EXPECT_EQ(display.Lines()[19], "Fft1C 0" + std::string(16, ' ') + "!");
}

TEST_F(ConfigFixture, BlankLinesAreSkippedWhileTheyFitTheBudget) {
    File() = L("SwpSp 0") + "\r\n\r\n\r\n" + L("SySrc 1") + std::string(40, '\n') + L("SyPol 1");
    Read();
    EXPECT_EQ(display.Lines(), (Lines{"Reading config", "SwpSp 0" + std::string(16, ' ') + "!",
                                      "SySrc 1" + std::string(16, ' ') + "!",
                                      "SyPol 1" + std::string(16, ' ') + "!", "End config"}));
    EXPECT_EQ(polarity.ItemIndex(), 1);

    // Ninety control bytes before any text make an empty line worth 0.
    display.Clear();
    File() = L("SwpSp 1") + std::string(89, '\n') + L("SySrc 1");
    Read();
    EXPECT_EQ(display.Lines()[2], "!");
    EXPECT_EQ(source.ItemIndex(), 0);
    EXPECT_EQ(polarity.ItemIndex(), 1);  // the SySrc line shifted onto SyPol
}

TEST_F(ConfigFixture, AByteAboveTextEndsTheLineAndShiftsTheRest) {
    File() = L("SwpSp 0") +
             "SySrc 1\xB0"
             "Foo   0" +
             std::string(16, ' ') + "\r\n" + L("SyPol 1") + L("ComPt 5");
    Read();
    EXPECT_EQ(display.Lines()[2], "SySrc 1!");
    EXPECT_EQ(display.Lines()[3], "Foo   0" + std::string(16, ' ') + "!");
    EXPECT_EQ(source.ItemIndex(), 1);
    EXPECT_EQ(polarity.ItemIndex(), 0);
    EXPECT_EQ(comPort.ItemIndex(), 1);
    EXPECT_EQ(probe1.ItemIndex(), 5);
}

TEST_F(ConfigFixture, AFileThatEndsEarlyLeavesTheRestAsTheyWere) {
    SetState();
    Write();
    File().resize(File().find("Wleft"));  // ten lines
    Controls fresh;
    fresh.File() = File();
    fresh.Read();
    ASSERT_EQ(fresh.display.Lines().size(), 1u + 10u + 2u + 1u);  // two bars moved
    EXPECT_EQ(fresh.display.Lines().front(), "Reading config");
    EXPECT_EQ(fresh.display.Lines().back(), "End config");
    std::vector<int> expected = Values();
    for (int slot : {10, 11, 12, 13})
        expected[slot] = std::vector<int>{0, 277, 1511, 899}[slot - 10];
    for (int slot : {14, 15, 16, 17}) expected[slot] = slot == 14 || slot == 15 ? 1 : 0;
    EXPECT_EQ(fresh.Values(), expected);

    const std::vector<int> before = Values();
    display.Clear();
    File() = "";
    Read();
    EXPECT_EQ(display.Lines(), (Lines{"Reading config", "End config"}));
    EXPECT_EQ(Values(), before);  // an empty file changes nothing
}

TEST_F(ConfigFixture, LinesShorterThanSevenCharactersAreZero) {
    window.SetGeometry(5, 5, 5, 5);
    File() = L("SwpSp 1") + "a\r\nabcd\r\nabcde\r\nabcdef\r\n" + L("Prob1 1");
    sweep.SetItemIndex(0);
    for (ListBox* list : {&source, &polarity, &comPort}) list->SetItemIndex(1);
    Read();
    EXPECT_EQ(source.ItemIndex(), 0);
    EXPECT_EQ(polarity.ItemIndex(), 0);
    EXPECT_EQ(comPort.ItemIndex(), 0);
    EXPECT_EQ(probe1.ItemIndex(), 0);  // "abcdef" gives 0; "Prob1 1" went to Scal1
    EXPECT_EQ(scale1.ItemIndex(), 1);
}

TEST_F(ConfigFixture, AFileThatCannotBeOpenedIsLeftAloneSilently) {
    File() = kStateFile;
    store.held = true;
    Read();
    EXPECT_TRUE(display.Lines().empty());
    EXPECT_EQ(sweep.ItemIndex(), -1);
    SetState();
    volt.SetPosition(0);
    Write();
    EXPECT_EQ(File(), kStateFile);

    store.held = false;
    store.readOnly = true;  // can be read, not written
    display.Clear();
    Read();
    EXPECT_EQ(display.Lines().front(), "Reading config");
    volt.SetPosition(123);
    Write();
    EXPECT_EQ(File(), kStateFile);
}

}  // namespace
}  // namespace velmora
