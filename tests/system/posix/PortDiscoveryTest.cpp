#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "PtyPair.h"
#include "TempDirectory.h"
#include "system/posix/PortDiscovery.h"
#include "system/posix/PortLinkLock.h"
#include "system/posix/PosixSerialPorts.h"

namespace velmora {
namespace {

using testing::PtyPair;
using testing::TempDirectory;

// A fake /sys, /dev and port directory in one temporary tree.
class PortDiscoveryTest : public ::testing::Test {
  protected:
    std::string Sys() const { return root_ / "sys"; }
    std::string Dev() const { return root_ / "dev"; }
    std::string Ports() const { return root_ / "ports"; }
    // What a port link leads to: a pseudo-terminal, as the instrument's does.
    std::string Pty() const { return pty_.SlavePath(); }

    void AddTty(const std::string& name, bool withDriver, const char* type = nullptr) {
        const std::string base = "sys/class/tty/" + name;
        root_.WriteFile(base + "/dev", "4:64\n");
        if (withDriver) {
            std::filesystem::create_directories(root_ / (base + "/device/driver"));
        }
        if (type != nullptr) {
            root_.WriteFile(base + "/type", type);
        }
    }

    void AddLink(const std::string& name, const std::string& target) {
        std::filesystem::create_directories(Ports());
        std::filesystem::permissions(Ports(), std::filesystem::perms::owner_all);
        ASSERT_EQ(symlink(target.c_str(), (Ports() + "/" + name).c_str()), 0);
    }

    std::vector<PortEntry> List() const { return PortDiscovery(Sys(), Ports(), Dev()).List(); }

    static std::vector<std::string> Names(const std::vector<PortEntry>& entries) {
        std::vector<std::string> names;
        for (const PortEntry& entry : entries) {
            names.push_back(entry.name);
        }
        return names;
    }

    TempDirectory root_;
    PtyPair pty_;
};

TEST_F(PortDiscoveryTest, DevicesWithADriverAndARealUartComeFirstThenLiveLinks) {
    AddTty("ttyUSB10", true);
    AddTty("ttyUSB2", true);
    AddTty("ttyACM0", true);
    AddTty("tty5", false);         // a virtual console: no device behind it
    AddTty("ttyS0", true, "0\n");  // registered, but no UART there
    AddTty("ttyS1", true, "4\n");  // a 16550A
    AddTty("ttyS2", true);         // no type file and nothing to ask
    AddTty("rfcomm0", true);       // Bluetooth
    ASSERT_TRUE(pty_.Ok());
    root_.WriteFile("file", "");
    AddLink("zeta", Pty());  // a socat bridge, a test's pty: no lock file
    AddLink("alpha", Pty());
    AddLink("dangling", root_ / "missing");
    AddLink("to-a-file", root_ / "file");  // would take commands as data
    AddLink("to-null", "/dev/null");       // a character device, but no port
    root_.WriteFile("ports/plain-file", "");
    // A killed instrument's link: its lock file is left, and nobody holds it.
    AddLink("stale", Pty());
    root_.WriteFile("ports/stale.lock", "");
    // A running one holds its lock.
    AddLink("live", Pty());
    PortLinkLock held;
    bool leftBehind = true;
    ASSERT_TRUE(held.Hold(Ports() + "/live", leftBehind));
    EXPECT_FALSE(leftBehind);

    const std::vector<PortEntry> entries = List();
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"rfcomm0", "ttyACM0", "ttyS1", "ttyUSB2",
                                                        "ttyUSB10", "alpha", "live", "zeta"}));
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[1].path, Dev() + "/ttyACM0");
    EXPECT_EQ(entries[5].path, Ports() + "/alpha");
    // On-board UARTs and Bluetooth ports are opened only when the user picks them.
    for (const PortEntry& e : entries) {
        EXPECT_EQ(e.pickedOnly, e.name == "ttyS1" || e.name == "rfcomm0") << e.name;
    }
    EXPECT_TRUE(PortLinkLock::IsStale(Ports() + "/stale"));
    EXPECT_FALSE(PortLinkLock::IsStale(Ports() + "/live"));
    EXPECT_FALSE(PortLinkLock::IsStale(Ports() + "/alpha"));
}

TEST_F(PortDiscoveryTest, MissingDirectoriesGiveAnEmptyList) {
    EXPECT_TRUE(List().empty());
    EXPECT_TRUE(PosixSerialPorts(PortDiscovery(Sys(), Ports(), Dev())).Discover().empty());
}

// A directory that another user owns, or that others may write to, could hold
// links planted by someone else: it is not read, and the note says why.
TEST_F(PortDiscoveryTest, SkipsAPortDirectoryThatIsNotPrivate) {
    const struct {
        const char* fault;
        int (*apply)(const char*);
    } cases[] = {
        {"is owned by uid 65534", [](const char* path) { return chown(path, 65534, 65534); }},
        {"is open to other users (mode 0777)", [](const char* path) { return chmod(path, 0777); }},
    };
    AddLink("ttyVIRT0", Pty());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        ASSERT_EQ(chmod(Ports().c_str(), 0700), 0);
        ASSERT_EQ(chown(Ports().c_str(), getuid(), getgid()), 0);
        ASSERT_EQ(List().size(), 1u);
        if (c.apply(Ports().c_str()) != 0) {
            ASSERT_NE(geteuid(), 0u) << "only giving a directory away may need root";
            continue;
        }
        PosixSerialPorts ports(PortDiscovery(Sys(), Ports(), Dev()));
        EXPECT_TRUE(ports.Discover().empty());
        const std::vector<std::string> notes = ports.DiscoveryNotes();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].find("Port directory " + Ports() + " skipped: " + Ports()), 0u);
        EXPECT_NE(notes[0].find(c.fault), std::string::npos) << notes[0];
    }
}

TEST_F(PortDiscoveryTest, PathsLongerThanTheBufferAreLeftOut) {
    const std::size_t room = kMaxPortPathLength - Ports().size() - 1;
    AddLink(std::string(room, 'a'), Pty());
    AddLink(std::string(room + 1, 'b'), Pty());
    const std::vector<PortEntry> entries = List();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path.size(), kMaxPortPathLength);
}

TEST_F(PortDiscoveryTest, TheFirstHundredAreListed) {
    for (int i = 0; i < 60; ++i) {
        AddTty("ttyUSB" + std::to_string(i), true);
        AddLink("port" + std::to_string(i), Pty());
    }
    const std::vector<PortEntry> entries = List();
    ASSERT_EQ(entries.size(), kMaxPorts);
    EXPECT_EQ(entries[59].name, "ttyUSB59");
    EXPECT_EQ(entries[60].name, "port0");
    EXPECT_EQ(entries[99].name, "port39");
}

TEST(NaturalOrder, DigitRunsCompareByValue) {
    std::vector<std::string> names{"ttyUSB10", "ttyS1", "ttyUSB2", "ttyACM0", "ttyUSB1", "b", "a2"};
    std::sort(names.begin(), names.end(), NaturalLess);
    EXPECT_EQ(names, (std::vector<std::string>{"a2", "b", "ttyACM0", "ttyS1", "ttyUSB1", "ttyUSB2",
                                               "ttyUSB10"}));
    EXPECT_TRUE(NaturalLess("x9", "x10"));
    EXPECT_FALSE(NaturalLess("x10", "x9"));
    EXPECT_TRUE(NaturalLess("x", "x0"));
    EXPECT_FALSE(NaturalLess("x1", "x1"));
    EXPECT_NE(NaturalLess("x01", "x1"), NaturalLess("x1", "x01"));  // still a total order
}

}  // namespace
}  // namespace velmora
