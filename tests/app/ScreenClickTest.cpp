#include <gtest/gtest.h>

#include "support/FormFixture.h"
#include "support/RecordingCanvas.h"

namespace velmora {
namespace {

using Kind = RecordingCanvas::Kind;

std::vector<uint8_t> Frame() {
    std::vector<uint8_t> f(kFrameBytes, 0);
    std::copy(kFrameMarker.begin(), kFrameMarker.end(), f.begin());
    return f;
}

struct DrawingFixture : ::testing::Test {
    test::FormFixture f;
    RecordingCanvas canvas;
    std::shared_ptr<test::FakeLine> line;
    bool answer = true;

    void SetUp() override {
        f.canvas = &canvas;
        line = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
        line->onWrite = [this](const std::vector<uint8_t>& bytes) {
            if (answer && bytes == std::vector<uint8_t>{'%', 'z', '\r', '\n'}) line->Feed(Frame());
        };
        f.Form().FormCreate();
    }
    int Requests() const {
        int n = 0;
        for (const auto& w : line->writes) n += w == std::vector<uint8_t>{'%', 'z', '\r', '\n'};
        return n;
    }
};

TEST_F(DrawingFixture, ACompleteFrameIsDrawnInTheTickItCompletes) {
    EXPECT_TRUE(canvas.Ops().empty());
    f.Form().Timer1Timer();
    ASSERT_FALSE(canvas.Ops().empty());
    const auto& clear = canvas.Ops()[0];
    EXPECT_EQ(clear.kind, Kind::kRectangle);
    EXPECT_EQ(clear.x2, 1511);
    EXPECT_EQ(clear.y2, 899);
    EXPECT_EQ(f.Form().Geometry().plotHeight, 887);
    EXPECT_FALSE(canvas.LinesIn({0, 0, 255}).empty());  // channel 1's trace
}

TEST_F(DrawingFixture, AClickDrawsThePatternAndForcesARedrawAtTheNextTick) {
    answer = false;
    f.Form().HoldBox.SetChecked(true);
    const int before = Requests();
    f.Form().ScreenClick();
    EXPECT_EQ(Requests(), before + 1);  // whether or not Hold is ticked
    const auto& ops = canvas.Ops();
    ASSERT_EQ(ops.size(), 9u);
    EXPECT_EQ(ops[2].kind, Kind::kLineTo);
    EXPECT_EQ(ops[2].x2, 1000);
    EXPECT_EQ(ops[2].y2, 1000);
    EXPECT_EQ(ops[5].x2, 1511);
    EXPECT_EQ(ops[5].y2, 899);
    EXPECT_EQ(ops[7].y1, 899);  // dark green from the bottom left corner
    EXPECT_EQ(ops[8].color, (Rgb{0, 128, 0}));
    canvas.Clear();
    f.Form().Timer1Timer();  // the old samples are drawn again, and nothing more is asked
    EXPECT_EQ(canvas.Find(Kind::kRectangle), 0u);
    EXPECT_EQ(Requests(), before + 1);
}

TEST_F(DrawingFixture, NothingIsDrawnBetweenFrames) {
    f.Form().Timer1Timer();  // start-up's frame
    canvas.Clear();
    answer = false;
    f.Form().Timer1Timer();
    f.Form().Timer1Timer();
    EXPECT_TRUE(canvas.Ops().empty());
}

}  // namespace
}  // namespace velmora
