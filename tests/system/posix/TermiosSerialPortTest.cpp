#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "PtyPair.h"
#include "TempDirectory.h"
#include "link/InstrumentLine.h"
#include "system/posix/TermiosSerialPort.h"

namespace velmora {
namespace {

using testing::PtyPair;
using testing::TempDirectory;
using Ms = std::chrono::milliseconds;

// The settings and time-outs the link applies to the instrument's line.
constexpr PortTimeouts kLinkTimeouts = kInstrumentTimeouts;

LineSettings LinkSettings() {
    LineSettings settings;
    ApplyInstrumentLine(settings);
    return settings;
}

// A pseudo-terminal with its slave opened as a TermiosSerialPort.
class PtyPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.Ok());
        ASSERT_EQ(TermiosSerialPort::Open(pty_.SlavePath().c_str(), port_), OpenOutcome::Opened);
    }

    void Configure() {
        ASSERT_TRUE(port_->SetState(LinkSettings()));
        ASSERT_TRUE(port_->SetTimeouts(kLinkTimeouts));
    }

    // termios as the device holds it (the master side reports the slave's).
    termios DeviceTermios() const {
        termios tio{};
        EXPECT_EQ(tcgetattr(pty_.Master(), &tio), 0);
        return tio;
    }

    // Lets bytes written on the master side reach the slave's input queue.
    static void LetBytesSettle() { std::this_thread::sleep_for(Ms(10)); }

    PtyPair pty_;
    std::unique_ptr<SerialPort> port_;
};

template <typename F>
Ms Elapsed(F&& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - start);
}

// --- Opening ---------------------------------------------------------------

TEST(TermiosSerialPortOpen, MissingPathDoesNotExistOtherFailuresAreOtherErrors) {
    TempDirectory dir;
    dir.WriteFile("plain", "x");
    dir.WriteFile("locked", "x");
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0), 0);
    std::unique_ptr<SerialPort> port;
    std::string why;
    EXPECT_EQ(TermiosSerialPort::Open((dir / "absent").c_str(), port), OpenOutcome::DoesNotExist);
    EXPECT_EQ(TermiosSerialPort::Open((dir / "no/such/dir").c_str(), port),
              OpenOutcome::DoesNotExist);
    EXPECT_EQ(TermiosSerialPort::Open(dir.Path().c_str(), port, &why), OpenOutcome::OtherError);
    EXPECT_EQ(why, "Is a directory");
    EXPECT_EQ(TermiosSerialPort::Open((dir / "plain/below").c_str(), port),
              OpenOutcome::OtherError);
    if (geteuid() != 0) {  // root opens any file
        EXPECT_EQ(TermiosSerialPort::Open((dir / "locked").c_str(), port),
                  OpenOutcome::PermissionDenied);
    }
    EXPECT_EQ(port, nullptr);
}

TEST(TermiosSerialPortOpen, SecondOpenIsRefusedUntilTheFirstCloses) {
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TempDirectory dir;
    ASSERT_EQ(symlink(pty.SlavePath().c_str(), (dir / "link").c_str()), 0);

    std::unique_ptr<SerialPort> first;
    std::unique_ptr<SerialPort> second;
    ASSERT_EQ(TermiosSerialPort::Open(pty.SlavePath().c_str(), first), OpenOutcome::Opened);
    EXPECT_EQ(TermiosSerialPort::Open(pty.SlavePath().c_str(), second), OpenOutcome::Busy);
    EXPECT_EQ(TermiosSerialPort::Open((dir / "link").c_str(), second), OpenOutcome::Busy);
    EXPECT_EQ(second, nullptr);

    first.reset();
    EXPECT_EQ(TermiosSerialPort::Open((dir / "link").c_str(), second), OpenOutcome::Opened);
}

TEST(TermiosSerialPortOpen, AnotherProcessIsRefused) {
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    std::unique_ptr<SerialPort> held;
    ASSERT_EQ(TermiosSerialPort::Open(pty.SlavePath().c_str(), held), OpenOutcome::Opened);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::unique_ptr<SerialPort> port;
        _exit(TermiosSerialPort::Open(pty.SlavePath().c_str(), port) == OpenOutcome::Busy ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Only a serial device is ever written to: a file (behind a port link gone
// wrong) or a character device that takes no line settings is closed as it
// was found.
TEST(TermiosSerialPortOpen, WhatIsNotASerialDeviceIsClosedUntouched) {
    TempDirectory dir;
    dir.WriteFile("plain", "x");
    ASSERT_EQ(symlink((dir / "plain").c_str(), (dir / "link").c_str()), 0);
    std::unique_ptr<SerialPort> port;
    for (const std::string& path : {dir / "plain", dir / "link", std::string("/dev/null")}) {
        EXPECT_EQ(TermiosSerialPort::Open(path.c_str(), port), OpenOutcome::NotSerialPort) << path;
        EXPECT_EQ(port, nullptr);
    }
    EXPECT_EQ(dir.ReadFile("plain"), "x");
}

// --- Line settings ---------------------------------------------------------

TEST_F(PtyPortTest, SetStateOverridesWhatAnEarlierProgramLeft) {
    termios cooked = DeviceTermios();
    cooked.c_lflag |= ICANON | ECHO | ISIG | IEXTEN;
    cooked.c_oflag |= OPOST | ONLCR;
    cooked.c_iflag |= IXON | IXOFF | IXANY | ICRNL;
    cooked.c_cflag |= CRTSCTS | CSTOPB;
    cooked.c_cflag &= ~(CLOCAL | CREAD);
    cfsetispeed(&cooked, B9600);
    cfsetospeed(&cooked, B9600);
    ASSERT_EQ(tcsetattr(pty_.Master(), TCSANOW, &cooked), 0);

    ASSERT_TRUE(port_->SetState(LinkSettings()));

    const termios tio = DeviceTermios();
    EXPECT_EQ(cfgetispeed(&tio), B115200);
    EXPECT_EQ(cfgetospeed(&tio), B115200);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);

    LineSettings read;
    ASSERT_TRUE(port_->GetState(read));
    EXPECT_EQ(read.baudRate, 115200u);
    EXPECT_EQ(read.byteSize, 8);
    EXPECT_EQ(read.parity, Parity::None);
    EXPECT_EQ(read.stopBits, StopBits::One);
    EXPECT_FALSE(read.rtsHandshake);
}

TEST_F(PtyPortTest, GetStateReportsTheDevicesSpeedAndFraming) {
    LineSettings settings = LinkSettings();
    settings.baudRate = 9600;
    settings.stopBits = StopBits::Two;
    ASSERT_TRUE(port_->SetState(settings));
    LineSettings read;
    ASSERT_TRUE(port_->GetState(read));
    EXPECT_EQ(read.baudRate, 9600u);
    EXPECT_EQ(read.stopBits, StopBits::Two);
}

TEST_F(PtyPortTest, SettingsTheDeviceCannotTakeAreRefused) {
    ASSERT_TRUE(port_->SetState(LinkSettings()));
    LineSettings odd = LinkSettings();
    odd.baudRate = 123456;
    EXPECT_FALSE(port_->SetState(odd));
    // A pseudo-terminal silently keeps 8 data bits: the read-back catches it.
    LineSettings seven = LinkSettings();
    seven.byteSize = 7;
    EXPECT_FALSE(port_->SetState(seven));
    const termios tio = DeviceTermios();
    EXPECT_EQ(cfgetospeed(&tio), B115200);
}

// --- Read time-out rule ----------------------------------------------------

TEST_F(PtyPortTest, ReadOnASilentLineReturnsNothingAfterAboutNPlusOneMs) {
    Configure();
    uint8_t buffer[20];
    std::size_t got = 99;
    const Ms took = Elapsed([&] { got = port_->Read(buffer, sizeof buffer); });
    EXPECT_EQ(got, 0u);
    EXPECT_GE(took.count(), 20);
    EXPECT_LT(took.count(), 70);
    EXPECT_FALSE(port_->Gone());  // silence is not a pulled cable
}

TEST_F(PtyPortTest, WithoutTimeoutsTheLinkRuleApplies) {
    ASSERT_TRUE(port_->SetState(LinkSettings()));
    uint8_t buffer[10];
    const Ms took = Elapsed([&] { EXPECT_EQ(port_->Read(buffer, sizeof buffer), 0u); });
    EXPECT_GE(took.count(), 10);
    EXPECT_LT(took.count(), 60);
}

TEST_F(PtyPortTest, BytesAlreadyWaitingReturnAtOnceInOrder) {
    Configure();
    std::vector<uint8_t> sent(600);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        sent[i] = static_cast<uint8_t>(i * 7);
    }
    ASSERT_TRUE(pty_.Send(sent));
    LetBytesSettle();

    std::vector<uint8_t> first(500);
    const Ms took = Elapsed([&] { EXPECT_EQ(port_->Read(first.data(), first.size()), 500u); });
    EXPECT_LT(took.count(), 100);  // the bound would be 501 ms
    EXPECT_TRUE(std::equal(first.begin(), first.end(), sent.begin()));

    uint8_t rest[100];
    EXPECT_EQ(port_->Read(rest, sizeof rest), 100u);
    EXPECT_TRUE(std::equal(rest, rest + 100, sent.begin() + 500));
}

TEST_F(PtyPortTest, GapBetweenBytesEndsTheRead) {
    Configure();
    const std::vector<uint8_t> burst(10, 0x55);
    ASSERT_TRUE(pty_.Send(burst));
    std::thread late([&] {
        std::this_thread::sleep_for(Ms(20));
        pty_.Send(burst);
    });
    uint8_t buffer[100];
    EXPECT_EQ(port_->Read(buffer, sizeof buffer), 10u);
    EXPECT_EQ(port_->Read(buffer, sizeof buffer), 10u);  // the late burst, within 101 ms
    late.join();
}

TEST_F(PtyPortTest, TotalBoundEndsAReadWhileBytesKeepComing) {
    ASSERT_TRUE(port_->SetState(LinkSettings()));
    ASSERT_TRUE(port_->SetTimeouts({50, 0, 30, 0, 0}));
    std::thread trickle([&] {
        for (int i = 0; i < 14; ++i) {
            pty_.Send({static_cast<uint8_t>(i)});
            std::this_thread::sleep_for(Ms(5));
        }
    });
    uint8_t buffer[1000];
    std::size_t got = 0;
    const Ms took = Elapsed([&] { got = port_->Read(buffer, sizeof buffer); });
    trickle.join();
    EXPECT_GE(got, 1u);
    EXPECT_LT(got, 14u);
    EXPECT_GE(took.count(), 30);
    EXPECT_LT(took.count(), 100);
}

TEST_F(PtyPortTest, ReturnAtOnceSettingTakesOnlyWhatIsWaiting) {
    Configure();
    ASSERT_TRUE(port_->SetTimeouts({UINT32_MAX, 0, 0, 0, 0}));
    uint8_t buffer[1000];
    const Ms took = Elapsed([&] { EXPECT_EQ(port_->Read(buffer, sizeof buffer), 0u); });
    EXPECT_LT(took.count(), 50);
    ASSERT_TRUE(pty_.Send({7, 8, 9}));
    LetBytesSettle();
    EXPECT_EQ(port_->Read(buffer, sizeof buffer), 3u);
}

TEST_F(PtyPortTest, HangUpEndsTheReadAtOnceEvenWithoutABound) {
    Configure();
    // No bound at all: only the hang-up can end this read. The kernel drops
    // pending input on hang-up, so nothing comes back.
    ASSERT_TRUE(port_->SetTimeouts({0, 0, 0, 0, 0}));
    pty_.CloseMaster();
    uint8_t buffer[1000];
    EXPECT_FALSE(port_->Gone());
    const Ms took = Elapsed([&] { EXPECT_EQ(port_->Read(buffer, sizeof buffer), 0u); });
    EXPECT_LT(took.count(), 500);
    // The far end closed: the device is gone, and a write says so too.
    EXPECT_TRUE(port_->Gone());
    EXPECT_FALSE(port_->Write(buffer, 1));
}

// --- Writing ---------------------------------------------------------------

TEST_F(PtyPortTest, WrittenBytesArriveUnchanged) {
    Configure();
    const std::vector<uint8_t> bytes{'%', 'z', '\r', '\n', 0x80, 0xFF, 0x00, '\n'};
    EXPECT_TRUE(port_->Write(bytes.data(), bytes.size()));
    EXPECT_EQ(pty_.Receive(bytes.size()), bytes);
}

TEST_F(PtyPortTest, LargeWriteWaitsForRoomAndDeliversEverything) {
    Configure();
    std::vector<uint8_t> bytes(256 * 1024);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i % 251);
    }
    std::vector<uint8_t> received;
    std::thread reader([&] { received = pty_.Receive(bytes.size()); });
    EXPECT_TRUE(port_->Write(bytes.data(), bytes.size()));
    reader.join();
    EXPECT_EQ(received, bytes);
}

TEST_F(PtyPortTest, WriteToAStuckLineGivesUpAtItsBound) {
    Configure();
    ASSERT_TRUE(port_->SetTimeouts({1, 1, 1, 0, 40}));
    std::vector<uint8_t> bytes(1024 * 1024, 0xAA);  // far more than the pty buffers
    bool ok = true;
    const Ms took = Elapsed([&] { ok = port_->Write(bytes.data(), bytes.size()); });
    EXPECT_FALSE(ok);
    EXPECT_GE(took.count(), 40);
    EXPECT_LT(took.count(), 500);
}

}  // namespace
}  // namespace velmora
