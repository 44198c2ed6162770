// Which port the window writes to, on the real termios port: never one the
// user did not choose, never anything that is not a serial device.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "integration/InstrumentSession.h"
#include "system/posix/PtyPair.h"

namespace velmora {
namespace {

void StorePort(test::InstrumentSession& session, const std::string& path) {
    session.Settings().files["Config.Ini"] =
        "SwpSp 1\r\nSySrc 1\r\nSyPol 1\r\nComPt 0  " + path + "\r\n";
}

void RunThreeSeconds(TForm2& form) {
    form.FormCreate();
    for (int tick = 0; tick < 15; ++tick) form.Timer1Timer();
}

// The stored port is not plugged in, the instrument's is: nothing opens.
TEST(PortChoiceTest, AnAbsentStoredPortOpensNoOtherPort) {
    test::InstrumentSession session(InstrumentOptions{});
    ASSERT_TRUE(session.Started()) << session.Error();
    const std::string absent = session.Instrument().LinkPath() + "9";
    StorePort(session, absent);
    RunThreeSeconds(session.Form());
    EXPECT_EQ(session.Instrument().Snapshot().counters.bytesReceived, 0u);
    EXPECT_EQ(session.Form().LinkStatus().what, absent + " is not there");
}

// The first start, and the only port listed is the board's UART (sysfs shows
// a 16550A; its node is a pseudo-terminal the test holds): it is not opened.
TEST(PortChoiceTest, AFirstStartOpensNoOnBoardUart) {
    testing::PtyPair uart;
    ASSERT_TRUE(uart.Ok());
    test::InstrumentSession session(InstrumentOptions{});
    session.StopInstrument();
    const std::string& root = session.Root();
    std::filesystem::create_directories(root + "/sys/class/tty/ttyS0/device/driver");
    std::ofstream(root + "/sys/class/tty/ttyS0/type") << "4\n";
    std::filesystem::create_directories(root + "/dev");
    std::filesystem::create_symlink(uart.SlavePath(), root + "/dev/ttyS0");
    RunThreeSeconds(session.Form());
    ASSERT_EQ(session.Form().ComPort.Count(), 1);
    EXPECT_TRUE(uart.Receive(1, 50).empty());
    EXPECT_EQ(session.Form().LinkStatus().what, "no port chosen");
}

// A port link gone wrong (to a regular file) is not listed, and a settings
// file that names it opens nothing: the file keeps its bytes.
TEST(PortChoiceTest, ALinkToAFileIsNeverWrittenTo) {
    test::InstrumentSession session(InstrumentOptions{});
    const std::string link = session.Instrument().LinkPath();
    session.StopInstrument();
    const std::string file = session.Root() + "/notes.txt";
    std::ofstream(file) << "keep me\n";
    std::filesystem::create_symlink(file, link);
    StorePort(session, link);
    RunThreeSeconds(session.Form());
    EXPECT_EQ(session.Form().ComPort.Count(), 0);
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me\n");
}

}  // namespace
}  // namespace velmora
