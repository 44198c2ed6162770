// Which port the window writes to, on the real termios port: never one the
// user did not choose, never anything that is not a serial device.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/FormFixture.h"
#include "system/posix/PosixSerialPorts.h"
#include "system/posix/PtyPair.h"
#include "system/posix/TempDirectory.h"

namespace velmora {
namespace {

using testing::PtyPair;
using testing::TempDirectory;

// A machine of its own: a /sys, a /dev and a port directory in a temporary
// tree, the window's core on them, and a device (a pseudo-terminal the test
// holds) wherever a case puts one.
struct Machine {
    TempDirectory root;
    PtyPair device;
    PosixSerialPorts ports{PortDiscovery(root / "sys", root / "ports", root / "dev")};
    test::FakeSettingsStore settings;
    SteadyClock clock;
    NullCanvas canvas;
    test::RecordingErrors errors;
    test::FixedWallClock wallClock;
    test::FakeOutputFiles files;
    TForm2 form{FormServices{ports, settings, clock, canvas, errors, wallClock, files}};

    Machine() {
        std::filesystem::create_directories(root / "ports");
        chmod(root.Path().c_str(), 0700);
        chmod((root / "ports").c_str(), 0700);
        std::filesystem::create_directories(root / "dev");
    }
    void Link(const std::string& name, const std::string& target) {
        std::filesystem::create_symlink(target, root / name);
    }
    // A UART on the board, as sysfs shows a 16550A: its node is the device.
    void AddUart() {
        root.WriteFile("sys/class/tty/ttyS0/type", "4\n");
        std::filesystem::create_directories(root / "sys/class/tty/ttyS0/device/driver");
        Link("dev/ttyS0", device.SlavePath());
    }
    void StorePort(const std::string& path) {
        settings.files["Config.Ini"] = "SwpSp 1\r\nSySrc 1\r\nSyPol 1\r\nComPt 0  " + path + "\r\n";
    }
    void Run(int ticks) {
        form.FormCreate();
        for (int i = 0; i < ticks; ++i) form.Timer1Timer();
    }
};

TEST(PortChoiceTest, NoByteReachesAPortTheUserDidNotChoose) {
    const struct {
        const char* name;
        void (*arrange)(Machine&);
        const char* status;
    } cases[] = {
        // The stored port is not plugged in; another one is there.
        {"absent stored path",
         [](Machine& m) {
             m.Link("ports/ttyVIRT0", m.device.SlavePath());
             m.StorePort(m.root / "ports/ttyVIRT9");
         },
         "/ports/ttyVIRT9 is not there"},
        // The first start, and the only port listed is the board's UART.
        {"first start, on-board UART", [](Machine& m) { m.AddUart(); }, "no port chosen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Machine m;
        ASSERT_TRUE(m.device.Ok());
        c.arrange(m);
        m.Run(15);  // three seconds of the timer
        EXPECT_FALSE(m.form.Link().IsOpen());
        EXPECT_TRUE(m.device.Receive(1, 50).empty());
        EXPECT_NE(m.form.LinkStatus().what.find(c.status), std::string::npos)
            << m.form.LinkStatus().what;
    }
}

// A port link gone wrong (to a regular file) is not listed, and a settings
// file that names it opens nothing: the file keeps its bytes.
TEST(PortChoiceTest, ALinkToAFileIsNeverWrittenTo) {
    Machine m;
    m.root.WriteFile("notes.txt", "keep me\n");
    m.Link("ports/ttyFILE", m.root / "notes.txt");
    m.StorePort(m.root / "ports/ttyFILE");
    m.Run(15);
    EXPECT_EQ(m.form.ComPort.Count(), 0);
    EXPECT_EQ(m.root.ReadFile("notes.txt"), "keep me\n");
    std::unique_ptr<SerialPort> port;
    EXPECT_EQ(m.ports.Open((m.root / "ports/ttyFILE").c_str(), port), OpenOutcome::NotSerialPort);
    EXPECT_EQ(m.root.ReadFile("notes.txt"), "keep me\n");
}

}  // namespace
}  // namespace velmora
