// The instrument over a real pseudo-terminal, as the application sees it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "instrument/CommandLine.h"
#include "instrument/VirtualInstrument.h"
#include "system/posix/PortDirectory.h"

namespace velmora {
namespace {

using Clock = std::chrono::steady_clock;
// A safety net against a hung test, never a measured duration.
constexpr auto kPatience = std::chrono::seconds(10);

class VirtualInstrumentTest : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-instrument-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        runtimeDir_ = pattern;
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old != nullptr) oldRuntimeDir_ = old;
        hadRuntimeDir_ = old != nullptr;
        setenv("XDG_RUNTIME_DIR", runtimeDir_.c_str(), 1);
    }

    void TearDown() override {
        for (const int fd : fds_) close(fd);
        if (hadRuntimeDir_) {
            setenv("XDG_RUNTIME_DIR", oldRuntimeDir_.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        std::filesystem::remove_all(runtimeDir_);
    }

    // Opens the port the way a program on the other end would.
    int OpenPort(const std::string& path) {
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd, 0) << path;
        termios mode{};
        tcgetattr(fd, &mode);
        cfmakeraw(&mode);
        tcsetattr(fd, TCSANOW, &mode);
        fds_.push_back(fd);
        return fd;
    }

    static void Send(int fd, const std::string& text) {
        ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    static std::vector<uint8_t> Receive(int fd, std::size_t count) {
        std::vector<uint8_t> bytes(count);
        std::size_t got = 0;
        const auto giveUp = Clock::now() + kPatience;
        while (got < count && Clock::now() < giveUp) {
            pollfd port{fd, POLLIN, 0};
            if (poll(&port, 1, 100) <= 0) continue;
            const ssize_t n = read(fd, bytes.data() + got, count - got);
            if (n > 0) got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }

    static void WaitFor(const VirtualInstrument& instrument,
                        const std::function<bool(const InstrumentState&)>& done) {
        const auto giveUp = Clock::now() + kPatience;
        while (!done(instrument.Snapshot()) && Clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(done(instrument.Snapshot()));
    }

    static void StartOrFail(VirtualInstrument& instrument) {
        std::string error;
        ASSERT_TRUE(instrument.Start(error)) << error;
    }

    static bool Exists(const std::string& path) {
        struct stat info {};
        return lstat(path.c_str(), &info) == 0;
    }

    static std::size_t MarkerAt(const std::vector<uint8_t>& bytes) {
        return static_cast<std::size_t>(
            std::search(bytes.begin(), bytes.end(), kFrameMarker.begin(), kFrameMarker.end()) -
            bytes.begin());
    }

    static uint32_t PointCount(const std::vector<uint8_t>& frame) {
        return frame[4] | frame[5] << 8 | frame[6] << 16 | static_cast<uint32_t>(frame[7]) << 24;
    }

    std::string runtimeDir_;
    std::string oldRuntimeDir_;
    bool hadRuntimeDir_ = false;
    std::vector<int> fds_;
};

TEST_F(VirtualInstrumentTest, PublishesItsLinkAndRemovesItAtStop) {
    VirtualInstrument instrument;
    StartOrFail(instrument);
    const std::string link = instrument.LinkPath();
    EXPECT_EQ(link, PortDirectory() + "/ttyVIRT0");
    EXPECT_EQ(link.rfind(runtimeDir_, 0), 0u);
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), instrument.SlavePath());

    VirtualInstrument second;
    StartOrFail(second);
    EXPECT_EQ(second.LinkPath(), PortDirectory() + "/ttyVIRT1");

    instrument.Stop();
    EXPECT_FALSE(Exists(link));
    EXPECT_TRUE(Exists(second.LinkPath()));
    second.Stop();
    EXPECT_FALSE(Exists(PortDirectory() + "/ttyVIRT1"));
}

TEST_F(VirtualInstrumentTest, TakesTheLinkNameAskedForAndReusesStaleLinks) {
    ASSERT_TRUE(EnsurePortDirectory());
    const std::string stale = PortDirectory() + "/ttyBench";
    std::filesystem::create_symlink("/dev/pts/does-not-exist", stale);
    InstrumentOptions options;
    options.linkName = "ttyBench";
    VirtualInstrument instrument(options);
    StartOrFail(instrument);
    EXPECT_EQ(instrument.LinkPath(), stale);
    EXPECT_EQ(std::filesystem::read_symlink(stale).string(), instrument.SlavePath());

    VirtualInstrument clash(options);
    std::string error;
    EXPECT_FALSE(clash.Start(error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(Exists(stale));  // the failed one left the live link alone
    EXPECT_TRUE(Exists(stale + ".lock"));
    instrument.Stop();
    EXPECT_FALSE(Exists(stale + ".lock"));

    // A killed instrument leaves its link and its lock file, which nobody
    // holds; its pty's number may be anybody's terminal by now. The next
    // instrument takes the name over. A link without a lock file (a socat
    // bridge) is some other program's: the name after it is taken instead.
    const std::string bridge = PortDirectory() + "/ttyVIRT0";
    std::filesystem::create_symlink("/dev/tty", stale);
    std::filesystem::create_symlink("/dev/tty", bridge);
    std::ofstream(stale + ".lock").put('\n');
    VirtualInstrument next(options);
    StartOrFail(next);
    EXPECT_EQ(std::filesystem::read_symlink(stale).string(), next.SlavePath());
    VirtualInstrument unnamed;
    StartOrFail(unnamed);
    EXPECT_EQ(unnamed.LinkPath(), PortDirectory() + "/ttyVIRT1");
    EXPECT_EQ(std::filesystem::read_symlink(bridge).string(), "/dev/tty");
}

TEST_F(VirtualInstrumentTest, AnswersADataRequestWithOneFrame) {
    VirtualInstrument instrument;
    StartOrFail(instrument);
    const int port = OpenPort(instrument.LinkPath());
    Send(port, "%z\r\n");
    const std::vector<uint8_t> frame = Receive(port, kFrameBytes);
    ASSERT_EQ(frame.size(), kFrameBytes);
    EXPECT_EQ(MarkerAt(frame), 0u);
    EXPECT_EQ(PointCount(frame), 0u);
    WaitFor(instrument, [](const InstrumentState& s) { return s.counters.framesSent == 1; });
    const InstrumentState state = instrument.Snapshot();
    EXPECT_EQ(state.counters.dataRequests, 1u);
    EXPECT_EQ(state.counters.bytesSent, kFrameBytes);
    EXPECT_EQ(state.counters.bytesReceived, 4u);
}

TEST_F(VirtualInstrumentTest, TakesOverTheSettingsSentBeforeARequest) {
    InstrumentOptions options;
    options.points = 300;
    options.noise = 0;
    VirtualInstrument instrument(options);
    StartOrFail(instrument);
    const int port = OpenPort(instrument.SlavePath());
    Send(port, "%S00 1024 2000\r%X7\r%Y6\r%G0620000.000000,1.000000%z\r\n");
    const std::vector<uint8_t> frame = Receive(port, kFrameBytes);
    ASSERT_EQ(frame.size(), kFrameBytes);
    EXPECT_EQ(PointCount(frame), 300u);  // XY mode
    const InstrumentState state = instrument.Snapshot();
    EXPECT_TRUE(state.XYMode());
    EXPECT_EQ(state.range[0], 7);
    EXPECT_EQ(state.range[1], 6);
    EXPECT_EQ(state.generator[0].waveform, '6');
    EXPECT_DOUBLE_EQ(state.generator[0].frequency, 20000.0);
    EXPECT_EQ(state.counters.syncCommands, 1u);
    EXPECT_EQ(state.counters.generatorCommands, 1u);
    EXPECT_EQ(state.counters.errors, 0u);
    // A 1 V square on the ±1 V range of channel 1: full scale.
    const int16_t first = static_cast<int16_t>(frame[128] | frame[129] << 8);
    EXPECT_EQ(std::abs(first), 2047);
}

// An outside signal on channel 1 (a 1 kHz sine of 0.5 V peak on the ±1 V
// range: 102.4 samples a cycle, 1023.5 counts), alone and then on top of
// generator A (a 250 Hz square of 0.25 V, 512 counts): the peaks add up. The
// trigger (channel 1, rising, 0 counts, at sample 300) follows the whole input.
TEST_F(VirtualInstrumentTest, AnInputSignalShowsAloneAndAddedToTheGenerator) {
    const char* const args[] = {"velmora-instrument", "--input1", "sine,1000,0.5", "--noise", "0"};
    const CommandLine::Result command = CommandLine::Parse(5, args);
    ASSERT_EQ(command.outcome, CommandLine::Outcome::kRun) << command.error;
    VirtualInstrument instrument(command.options);
    StartOrFail(instrument);
    const int port = OpenPort(instrument.LinkPath());
    const struct {
        const char* commands;
        int peak;
    } frames[] = {{"%X7\r%S00  300    0\r%z\r\n", 1023},
                  {"%G06250.000000,0.250000%z\r\n", 1023 + 512}};
    for (const auto& f : frames) {
        SCOPED_TRACE(f.commands);
        Send(port, f.commands);
        const std::vector<uint8_t> frame = Receive(port, kFrameBytes);
        ASSERT_EQ(frame.size(), kFrameBytes);
        std::vector<int> s(kSamplePairs);
        for (std::size_t i = 0; i < kSamplePairs; ++i) {
            const uint8_t* pair = &frame[kHeaderBytes + kPairBytes * i];
            s[i] = static_cast<int16_t>(pair[0] | pair[1] << 8);
            EXPECT_EQ(pair[2] | pair[3] << 8, 0) << "channel 2 has nothing on it";
        }
        EXPECT_NEAR(*std::max_element(s.begin(), s.end()), f.peak, 1);
        EXPECT_NEAR(*std::min_element(s.begin(), s.end()), -f.peak, 1);
        EXPECT_LT(s[299], 0);
        EXPECT_GE(s[300], 0);
        if (f.peak != 1023) continue;
        std::vector<int> rising;  // the sine alone crosses 0 once a cycle
        for (std::size_t i = 1; i < kSamplePairs; ++i) {
            if (s[i - 1] < 0 && s[i] >= 0) rising.push_back(static_cast<int>(i));
        }
        ASSERT_EQ(rising.size(), 20u);
        EXPECT_NEAR((rising.back() - rising.front()) / 19.0, 102.4, 0.1);
    }
}

TEST_F(VirtualInstrumentTest, GeneratorCommandEndsWhenTheLineFallsQuiet) {
    VirtualInstrument instrument;
    StartOrFail(instrument);
    const int port = OpenPort(instrument.LinkPath());
    Send(port, "%G1450.000000,2.000000");
    WaitFor(instrument, [](const InstrumentState& s) { return s.counters.generatorCommands == 1; });
    const InstrumentState::Generator b = instrument.Snapshot().generator[1];
    EXPECT_EQ(b.waveform, '4');
    EXPECT_DOUBLE_EQ(b.frequency, 50.0);
    EXPECT_DOUBLE_EQ(b.amplitude, 2.0);
}

TEST_F(VirtualInstrumentTest, GarbageNeverStopsItAnswering) {
    VirtualInstrument instrument;
    StartOrFail(instrument);
    const int port = OpenPort(instrument.LinkPath());
    std::mt19937 random(3);
    for (int round = 0; round < 5; ++round) {
        std::string garbage(3000, '\0');
        static const char kAlphabet[] = "%SXYG01 -.,\r\n";
        for (char& c : garbage) {
            c = random() % 2 ? static_cast<char>(random()) : kAlphabet[random() % 13];
            if (c == 'z') c = 'y';  // no data request hides in the garbage
        }
        Send(port, garbage + "%z\r\n");
        const std::vector<uint8_t> frame = Receive(port, kFrameBytes);
        ASSERT_EQ(frame.size(), kFrameBytes);
        EXPECT_EQ(MarkerAt(frame), 0u);
    }
    EXPECT_GT(instrument.Snapshot().counters.errors, 0u);
}

TEST_F(VirtualInstrumentTest, KeepsServingWhenTheApplicationReopensThePort) {
    VirtualInstrument instrument;
    StartOrFail(instrument);
    for (int run = 0; run < 3; ++run) {
        const int port = OpenPort(instrument.LinkPath());
        Send(port, "%z\r\n");
        EXPECT_EQ(Receive(port, kFrameBytes).size(), kFrameBytes);
        close(port);
        fds_.pop_back();
    }
}

TEST_F(VirtualInstrumentTest, StrayBytesDamagedMarkerAndShortFrames) {
    InstrumentOptions stray;
    stray.stray = 5;
    InstrumentOptions damaged;
    damaged.damageMarker = true;
    InstrumentOptions shortFrame;
    shortFrame.shortFrame = 100;
    VirtualInstrument strayOne(stray);
    VirtualInstrument damagedOne(damaged);
    VirtualInstrument shortOne(shortFrame);
    for (VirtualInstrument* instrument : {&strayOne, &damagedOne, &shortOne}) {
        StartOrFail(*instrument);
        Send(OpenPort(instrument->LinkPath()), "%z\r\n%z\r\n");
    }
    const std::vector<uint8_t> strayReply = Receive(fds_[0], 2 * (kFrameBytes + 5));
    ASSERT_EQ(strayReply.size(), 2 * (kFrameBytes + 5));
    EXPECT_EQ(MarkerAt(strayReply), 5u);
    const std::vector<uint8_t> damagedReply = Receive(fds_[1], 2 * kFrameBytes);
    ASSERT_EQ(damagedReply.size(), 2 * kFrameBytes);
    EXPECT_EQ(MarkerAt(damagedReply), damagedReply.size());
    const std::vector<uint8_t> shortReply = Receive(fds_[2], 200);
    ASSERT_EQ(shortReply.size(), 200u);
    EXPECT_EQ(MarkerAt(shortReply), 0u);
    EXPECT_EQ(MarkerAt({shortReply.begin() + 4, shortReply.end()}), 96u);
}

TEST_F(VirtualInstrumentTest, SilentInstrumentCountsButNeverAnswers) {
    InstrumentOptions options;
    options.silent = true;
    VirtualInstrument instrument(options);
    StartOrFail(instrument);
    Send(OpenPort(instrument.LinkPath()), "%z\r\n");
    WaitFor(instrument, [](const InstrumentState& s) { return s.counters.dataRequests == 1; });
    EXPECT_EQ(instrument.Snapshot().counters.replies, 0u);
}

TEST_F(VirtualInstrumentTest, FloodSendsMarkerFreeBytesWithoutEnd) {
    InstrumentOptions options;
    options.flood = true;
    VirtualInstrument instrument(options);
    StartOrFail(instrument);
    const int port = OpenPort(instrument.LinkPath());
    Send(port, "%z\r\n");
    const std::vector<uint8_t> flood = Receive(port, 100000);
    ASSERT_EQ(flood.size(), 100000u);
    EXPECT_EQ(MarkerAt(flood), flood.size());
    Send(port, "%X2\r");  // still listening while it floods
    WaitFor(instrument, [](const InstrumentState& s) { return s.range[0] == 2; });
    EXPECT_EQ(instrument.Snapshot().counters.replies, 0u);
}

TEST_F(VirtualInstrumentTest, LateAndPacedRepliesStillArriveWhole) {
    InstrumentOptions options;
    options.lateMs = 30;
    options.baudPacing = true;
    VirtualInstrument instrument(options);
    StartOrFail(instrument);
    const int port = OpenPort(instrument.LinkPath());
    const auto sent = Clock::now();
    Send(port, "%z\r\n");
    const std::vector<uint8_t> frame = Receive(port, kFrameBytes);
    const auto took = Clock::now() - sent;
    ASSERT_EQ(frame.size(), kFrameBytes);
    EXPECT_EQ(MarkerAt(frame), 0u);
    // A lower bound only: the delay plus 8320 bytes at 115200 baud (752 ms).
    EXPECT_GE(took, std::chrono::milliseconds(750));
}

}  // namespace
}  // namespace velmora
