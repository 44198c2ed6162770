// The Win32 serial port on a real line: under Wine, COM ports that the test
// script links to pseudo-terminals of the virtual instrument (Linux program)
// and of a peer that never reads. The port numbers come from the
// environment; without them the tests are skipped.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "acquisition/ReceiveState.h"
#include "acquisition/RequestData.h"
#include "link/SerialLink.h"
#include "system/win32/Win32PortSources.h"
#include "system/win32/Win32SerialPort.h"
#include "system/win32/Win32SerialPorts.h"

namespace velmora {
namespace {

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// The port number an environment variable names, or 0.
unsigned long PortFromEnvironment(const char* name) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::strtoul(text, nullptr, 10) : 0;
}

std::string PathOf(unsigned long number) { return "\\\\.\\COM" + std::to_string(number); }

double MillisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The real ports, but a discovery of our choosing: lets the link try a port
// that is listed and then not there.
class ListedPorts final : public SerialPorts {
  public:
    explicit ListedPorts(std::vector<PortEntry> entries) : entries_(std::move(entries)) {}
    std::vector<PortEntry> Discover() override { return entries_; }
    OpenOutcome Open(const char* path, std::unique_ptr<SerialPort>& port) override {
        return Win32SerialPort::Open(path, port);
    }

  private:
    std::vector<PortEntry> entries_;
};

// Opens `path` through the link as the window does; the log is returned.
Lines OpenThroughLink(SerialLink& link, Memo& display, ListBox& list, const std::string& path) {
    link.DiscoverPorts(list);
    for (int i = 0; i < list.Count(); ++i) {
        if (PathOf(std::strtoul(list.Item(i).c_str() + 3, nullptr, 10)) == path) {
            link.OpenPort(i);
            return display.Lines();
        }
    }
    ADD_FAILURE() << path << " is not in the port list";
    return {};
}

class Win32RealPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (instrument_ == 0) GTEST_SKIP() << "VELMORA_TEST_COM names no port";
    }

    const unsigned long instrument_ = PortFromEnvironment("VELMORA_TEST_COM");
    Win32SerialPorts ports_;
    Memo display_;
    SteadyClock clock_;
    SerialLink link_{ports_, display_, clock_};
    ListBox list_;
    ReceiveState rx_;
};

TEST_F(Win32RealPortTest, DiscoveryListsTheLinkedPortUnderItsDevicePath) {
    const std::vector<PortEntry> entries = ports_.Discover();
    const std::string name = "COM" + std::to_string(instrument_);
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const PortEntry& e) { return e.name == name; });
    ASSERT_NE(found, entries.end());
    EXPECT_EQ(found->path, PathOf(instrument_));
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return std::strtoul(a.name.c_str() + 3, nullptr, 10) <
               std::strtoul(b.name.c_str() + 3, nullptr, 10);
    }));
    // Which source answered; Wine exports no GetCommPorts, Windows 10 does.
    const bool commApi = CommApiPortNumbers(FindGetCommPorts()).has_value();
    std::printf("GetCommPorts %s; SERIALCOMM %zu ports; DOS devices %zu ports\n",
                commApi ? "present" : "absent", RegistryPortNumbers().size(),
                DosDevicePortNumbers().size());
    if (!commApi) {
        const std::vector<uint32_t> registry = RegistryPortNumbers();
        const std::vector<uint32_t> dos = DosDevicePortNumbers();
        EXPECT_NE(std::find(registry.begin(), registry.end(), instrument_), registry.end());
        EXPECT_NE(std::find(dos.begin(), dos.end(), instrument_), dos.end());
    }
}

TEST_F(Win32RealPortTest, OpenSequenceLogsAndADataRequestBringsOneFrame) {
    const std::string path = PathOf(instrument_);
    EXPECT_EQ(OpenThroughLink(link_, display_, list_, path),
              (Lines{path, path, "   opened", path, "   configured"}));
    ASSERT_TRUE(link_.IsOpen());

    RequestData(link_, rx_, clock_);
    std::vector<uint8_t> reply(kFrameBytes + kBlockBytes);
    std::size_t total = 0;
    const auto start = Clock::now();
    while (total < reply.size() && MillisSince(start) < 5000) {
        const std::size_t n = std::min<std::size_t>(kBlockBytes, reply.size() - total);
        const std::size_t got = link_.Read(reply.data() + total, n);
        if (got == 0 && total >= kFrameBytes) break;  // the line fell silent after the frame
        total += got;
    }
    EXPECT_EQ(total, 8320u);
    EXPECT_EQ(std::string(reply.begin(), reply.begin() + 4), "vQvQ");

    // The read rule on a silent line: 128 bytes asked, nothing comes, back
    // after 128 + 1 ms; not at once, and not much later either.
    uint8_t block[kBlockBytes];
    const auto quiet = Clock::now();
    EXPECT_EQ(link_.Read(block, sizeof block), 0u);
    const double ms = MillisSince(quiet);
    EXPECT_GE(ms, 110.0);
    EXPECT_LE(ms, 129.0 + 100.0);  // margin for a loaded machine
    std::printf("silent read of 128 bytes returned after %.1f ms\n", ms);
}

TEST_F(Win32RealPortTest, AMissingPortLogsThatItDoesNotExist) {
    const unsigned long missing = 199;
    const std::string path = PathOf(missing);
    std::unique_ptr<SerialPort> port;
    EXPECT_EQ(ports_.Open(path.c_str(), port), OpenOutcome::DoesNotExist);
    EXPECT_EQ(port, nullptr);

    ListedPorts listed({{"COM199", path}});
    Memo display;
    SerialLink link(listed, display, clock_);
    ListBox list;
    link.DiscoverPorts(list);
    EXPECT_FALSE(link.OpenPort(0));
    EXPECT_EQ(display.Lines(), (Lines{path, path, "   does not exist"}));
    EXPECT_EQ(link.Read(nullptr, 0), 0u);
}

TEST_F(Win32RealPortTest, APeerThatNeverStopsSendingCannotHoldTheDataRequest) {
    const unsigned long flood = PortFromEnvironment("VELMORA_TEST_FLOOD_COM");
    if (flood == 0) GTEST_SKIP() << "VELMORA_TEST_FLOOD_COM names no port";
    OpenThroughLink(link_, display_, list_, PathOf(flood));
    ASSERT_TRUE(link_.IsOpen());
    RequestData(link_, rx_, clock_);  // the flood starts with the first request
    const auto start = Clock::now();
    RequestData(link_, rx_, clock_);
    const double ms = MillisSince(start);
    EXPECT_GE(ms, 900.0);  // it did drain for its budget
    EXPECT_LE(ms, 1000.0 + 129.0 + 400.0);
    std::printf("data request on a flooding line returned after %.0f ms\n", ms);
}

TEST_F(Win32RealPortTest, AWriteTheLineNeverTakesEndsAtTheWriteBound) {
    const unsigned long stuck = PortFromEnvironment("VELMORA_TEST_STUCK_COM");
    if (stuck == 0) GTEST_SKIP() << "VELMORA_TEST_STUCK_COM names no port";
    OpenThroughLink(link_, display_, list_, PathOf(stuck));
    ASSERT_TRUE(link_.IsOpen());
    std::vector<uint8_t> bytes(1 << 20, 'x');
    for (int attempt = 0; attempt < 2; ++attempt) {  // filling the buffer, then full
        const auto start = Clock::now();
        link_.Write(bytes.data(), bytes.size());
        const double ms = MillisSince(start);
        EXPECT_GE(ms, 900.0);
        EXPECT_LE(ms, 1000.0 + 500.0);
        std::printf("write of 1 MiB to a line nobody reads returned after %.0f ms\n", ms);
    }
}

// A device that goes away while the port is open: the port says it is gone
// (under Wine 8 ReadFile goes on succeeding with no bytes, and WriteFile and
// ClearCommError fail with ERROR_NOT_READY), and the link closes it at once.
TEST_F(Win32RealPortTest, APortThatVanishesWhileOpenIsGoneAndNeverHangs) {
    const unsigned long vanish = PortFromEnvironment("VELMORA_TEST_VANISH_COM");
    if (vanish == 0) GTEST_SKIP() << "VELMORA_TEST_VANISH_COM names no port";
    const std::string path = PathOf(vanish);
    std::unique_ptr<SerialPort> port;
    ASSERT_EQ(Win32SerialPort::Open(path.c_str(), port), OpenOutcome::Opened);
    ASSERT_TRUE(port->SetTimeouts({1, 1, 1, 0, 0}));
    auto& win32 = static_cast<Win32SerialPort&>(*port);
    const uint8_t request[] = {'%', 'z', '\r', '\n'};
    port->Write(request, sizeof request);  // the device goes away at this byte
    Sleep(200);

    // Every later call comes back within its own bound, with nothing read.
    uint8_t block[kBlockBytes];
    const auto start = Clock::now();
    std::size_t got = 0;
    for (int i = 0; i < 10; ++i) got += port->Read(block, sizeof block);
    std::printf("after the far end closed: ReadFile error %lu;", win32.LastFailure());
    port->Write(request, sizeof request);
    std::printf(" WriteFile error %lu;", win32.LastFailure());
    port->ClearError();
    std::printf(" ClearCommError error %lu; gone %d\n", win32.LastFailure(), port->Gone());
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(port->Gone());
    EXPECT_LE(MillisSince(start), 12 * (129.0 + 60.0) + 1000.0);
    port.reset();

    // Selecting it again runs the whole sequence, bounded, and delivers
    // nothing; a write that finds it gone closes the handle.
    const auto again = Clock::now();
    OpenThroughLink(link_, display_, list_, path);
    link_.Write(request, sizeof request);
    EXPECT_EQ(link_.Read(block, sizeof block), 0u);
    EXPECT_LE(MillisSince(again), 1000.0);
    EXPECT_FALSE(link_.IsOpen());
    ASSERT_FALSE(display_.Lines().empty());
    EXPECT_EQ(display_.Lines()[0], path);
    std::string log;
    for (const std::string& line : display_.Lines()) log += " \"" + line + "\"";
    std::printf("the vanished port, selected again, logs%s; condition %d\n", log.c_str(),
                static_cast<int>(link_.Condition()));
}

}  // namespace
}  // namespace velmora
