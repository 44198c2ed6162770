// The link's state as the user sees it (the picture's text and the log), from
// what the port calls return, on the scripted port and its virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/FormFixture.h"

namespace velmora {
namespace {

const std::vector<uint8_t> kRequest{'%', 'z', '\r', '\n'};

std::vector<uint8_t> Frame() {
    std::vector<uint8_t> frame(kFrameBytes, 0);
    std::copy(kFrameMarker.begin(), kFrameMarker.end(), frame.begin());
    return frame;
}

// A window on one fake port, ttyACM0, whose instrument answers each request
// with a frame until told otherwise.
struct Rig {
    test::FormFixture f;
    std::shared_ptr<test::FakeLine> line = f.ports.AddPort("ttyACM0", "/dev/ttyACM0");
    std::function<void(test::FakeLine&)> answer = [](test::FakeLine& l) { l.Feed(Frame()); };

    void Answer(const std::shared_ptr<test::FakeLine>& to) {
        test::FakeLine* line = to.get();  // the line owns the reaction: no shared_ptr here
        to->onWrite = [this, line](const std::vector<uint8_t>& bytes) {
            if (bytes == kRequest && answer) answer(*line);
        };
    }
    // Timer ticks, each 200 ms on the clock besides what its reads wait.
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            f.clock.Advance(200'000);
            f.Form().Timer1Timer();
        }
    }
    long Logged(const std::string& text) {
        const auto& lines = f.Form().Display.Lines();
        return std::count(lines.begin(), lines.end(), text);
    }
};

TEST(LinkStateTest, EachPortResultHasItsStateInThePictureAndOneLogLine) {
    const struct Row {
        const char* what;  // the picture's first line ("" while frames arrive)
        std::function<void(Rig&)> arrange;
        int ticks;
        std::function<void(Rig&)> then = [](Rig&) {};
    } rows[] = {
        {"", [](Rig&) {}, 20},
        {"no serial port found", [](Rig& r) { r.f.ports.entries.clear(); }, 3},
        {"/dev/ttyUSB7 is not there",  // the stored port is not plugged in: nothing opens
         [](Rig& r) {
             r.f.settings.files["Config.Ini"] = "A\r\nB\r\nC\r\nComPt 0  /dev/ttyUSB7\r\n";
         },
         3},
        {"no port chosen",  // an on-board UART alone: opened only when picked
         [](Rig& r) { r.f.ports.entries.back().pickedOnly = true; }, 3},
        {"ttyACM0: not open (does not exist)",
         [](Rig& r) { r.f.ports.lines.erase("/dev/ttyACM0"); }, 3},
        {"ttyACM0: not open (busy: another program holds it)",
         [](Rig& r) { r.f.ports.busy["/dev/ttyACM0"] = true; }, 3},
        {"ttyACM0: not open (permission denied: serial ports belong to the dialout group)",
         [](Rig& r) { r.f.ports.refused["/dev/ttyACM0"] = OpenOutcome::PermissionDenied; }, 3},
        {"ttyACM0: not open (not a serial port)",
         [](Rig& r) { r.f.ports.refused["/dev/ttyACM0"] = OpenOutcome::NotSerialPort; }, 3},
        {"ttyACM0: not open (cannot be opened)",
         [](Rig& r) { r.f.ports.refused["/dev/ttyACM0"] = OpenOutcome::OtherError; }, 3},
        {"ttyACM0: open (no answer for 2 s)", [](Rig& r) { r.answer = nullptr; }, 20,
         [](Rig& r) {  // silent past 2 s: a tick costs no waiting, until a byte comes
             const int64_t before = r.f.clock.NowMicros();
             r.f.Form().Timer1Timer();
             EXPECT_EQ(r.f.clock.NowMicros(), before);
             EXPECT_EQ(r.line->timeouts.readTotalMultiplier, 0u);
             r.line->Feed("v");
             r.f.Form().Timer1Timer();
             EXPECT_EQ(r.line->timeouts.readTotalMultiplier, 1u);  // the instrument's timing
         }},
        {"ttyACM0: open (answers that are not frames)",
         [](Rig& r) { r.answer = [](test::FakeLine& l) { l.Feed(std::string(300, 'x')); }; }, 20},
        {"ttyACM0: gone (disconnected)",  // a pulled cable after the first frames
         [](Rig& r) {
             r.answer = [n = 0](test::FakeLine& l) mutable {
                 l.Feed(Frame());
                 l.gone = ++n > 3;
             };
         },
         20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Rig r;
        r.Answer(r.line);
        row.arrange(r);
        r.f.Form().FormCreate();
        r.Ticks(row.ticks);
        EXPECT_EQ(r.f.Form().LinkStatus().what, row.what);
        if (*row.what != '\0') {
            EXPECT_EQ(r.Logged(row.what), 1);  // on entering, never once per tick
        }
        const bool open =
            *row.what == '\0' || std::string(row.what).find(": open") != std::string::npos;
        EXPECT_EQ(r.f.Form().Link().IsOpen(), open);  // a gone port's handle is closed at once
        EXPECT_TRUE(r.f.errors.messages.empty());
        row.then(r);
    }
}

}  // namespace
}  // namespace velmora
