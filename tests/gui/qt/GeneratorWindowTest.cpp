#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "gui/qt/ListBoxWidget.h"
#include "gui/qt/WindowFixture.h"

namespace velmora {
namespace {

// The generator row as a user works it: typing into the boxes and ticking
// the enable box with the mouse.
class GeneratorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        line = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
        f.Form().Timer1.SetEnabled(false);
        line->written.clear();
    }
    void Retype(const char* name, const char* text) {
        auto* edit = f.Find<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    void Tick(const char* name) {
        auto* box = f.Find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    test::WindowFixture f;
    std::shared_ptr<test::FakeLine> line;
};

TEST_F(GeneratorWindowTest, ANonNumberShowsTheErrorAndTouchesNeitherLogNorWire) {
    Retype("Ampl2", "1.5V");
    EXPECT_EQ(f.Form().Ampl2.Text(), "1.5V");
    const std::vector<std::string> logBefore = f.Form().Display.Lines();
    Tick("EnableB");
    EXPECT_TRUE(f.Form().EnableB.Checked());
    EXPECT_EQ(f.errors.messages,
              (std::vector<std::string>{"'1.5V' is not a valid floating point value"}));
    EXPECT_EQ(f.Form().Display.Lines(), logBefore);
    EXPECT_TRUE(line->written.empty());
}

TEST_F(GeneratorWindowTest, TypedDigitsReachTheCommand) {
    Retype("Freq1", "12a34.5");  // the digits-only box lets only the digits through
    EXPECT_EQ(f.Form().Freq1.Text(), "12345");
    Retype("Ampl1", "0.5.");  // channel A's amplitude takes one decimal point
    EXPECT_EQ(f.Form().Ampl1.Text(), "0.5");
    auto* waveform = f.Find<ListBoxWidget>("Waveform1");
    waveform->setFocus();
    QTest::keyClick(waveform, Qt::Key_Home);  // "Off"
    QTest::keyClick(waveform, Qt::Key_Down);  // "Sine", chosen with the keyboard
    Tick("EnableA");
    EXPECT_EQ(line->WrittenText(), std::string("%G0112345.000000,0.500000%z\r\n"));
    EXPECT_EQ(f.Form().Display.Lines().back(), "%G0112345.000000,0.500000");
    EXPECT_TRUE(f.errors.messages.empty());
}

}  // namespace
}  // namespace velmora
