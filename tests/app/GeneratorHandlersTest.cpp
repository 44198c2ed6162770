#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace velmora {
namespace {

struct GeneratorHandlers : ::testing::Test {
    test::FormFixture f;
    std::shared_ptr<test::FakeLine> line = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    TForm2& form = f.Form();

    void SetUp() override {
        form.FormCreate();
        line->written.clear();
    }
    // A user's click on an enable box, run as the window runs every event.
    void Click(CheckBox& box) {
        form.Dispatch([&] { box.UserClick(); });
    }
};

TEST_F(GeneratorHandlers, TickingSendsTheChannelAndUntickingSendsNothing) {
    form.Waveform1.UserSelect(1);
    Click(form.EnableA);
    EXPECT_EQ(line->WrittenText(), "%G0120000.000000,1.000000%z\r\n");
    EXPECT_EQ(form.Display.Lines().back(), "%G0120000.000000,1.000000");

    const std::size_t logged = form.Display.Lines().size();
    line->written.clear();
    Click(form.EnableA);
    EXPECT_TRUE(line->written.empty());
    EXPECT_EQ(form.Display.Lines().size(), logged);

    // A change while ticked is sent only by ticking again.
    Click(form.EnableA);
    form.Freq1.SetText("100");
    EXPECT_EQ(line->WrittenText(), "%G0120000.000000,1.000000%z\r\n");
    Click(form.EnableA);
    Click(form.EnableA);
    EXPECT_EQ(line->WrittenText(), "%G0120000.000000,1.000000%z\r\n%G01100.000000,1.000000%z\r\n");
}

TEST_F(GeneratorHandlers, EachBoxGovernsOnlyItsOwnChannel) {
    form.Waveform1.UserSelect(2);
    form.Waveform2.UserSelect(10);
    form.Freq1.SetText("1");
    form.Freq2.SetText("300");
    form.Ampl2.SetText("-1");
    Click(form.EnableB);
    EXPECT_FALSE(form.EnableA.Checked());
    EXPECT_EQ(line->WrittenText(), "%G1:300.000000,0.000000%z\r\n");
    line->written.clear();
    Click(form.EnableA);
    EXPECT_EQ(line->WrittenText(), "%G021.000000,1.000000%z\r\n");
}

TEST_F(GeneratorHandlers, TextThatIsNotANumberShowsOneErrorAndSendsNothing) {
    form.Ampl2.SetText("1.5V");
    const std::size_t logged = form.Display.Lines().size();
    Click(form.EnableB);
    EXPECT_EQ(f.errors.messages,
              (std::vector<std::string>{"'1.5V' is not a valid floating point value"}));
    EXPECT_TRUE(form.EnableB.Checked());  // the box keeps its tick

    form.Freq2.SetText("12a");
    Click(form.EnableB);  // unticking: nothing is read
    Click(form.EnableB);
    EXPECT_EQ(f.errors.messages.back(), "'12a' is not a valid floating point value");
    EXPECT_EQ(f.errors.messages.size(), 2u);
    EXPECT_TRUE(line->written.empty());
    EXPECT_EQ(form.Display.Lines().size(), logged);
}

}  // namespace
}  // namespace velmora
