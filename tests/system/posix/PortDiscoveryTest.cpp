#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "TempDirectory.h"
#include "system/posix/PortDiscovery.h"
#include "system/posix/PosixSerialPorts.h"

namespace velmora {
namespace {

using testing::TempDirectory;

// A fake /sys, /dev and port directory in one temporary tree.
class PortDiscoveryTest : public ::testing::Test {
  protected:
    std::string Sys() const { return root_ / "sys"; }
    std::string Dev() const { return root_ / "dev"; }
    std::string Ports() const { return root_ / "ports"; }

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
};

TEST_F(PortDiscoveryTest, DevicesWithADriverAndARealUartComeFirstThenLiveLinks) {
    AddTty("ttyUSB10", true);
    AddTty("ttyUSB2", true);
    AddTty("ttyACM0", true);
    AddTty("tty5", false);         // a virtual console: no device behind it
    AddTty("ttyS0", true, "0\n");  // registered, but no UART there
    AddTty("ttyS1", true, "4\n");  // a 16550A
    AddTty("ttyS2", true);         // no type file and nothing to ask
    root_.WriteFile("target", "");
    AddLink("zeta", root_ / "target");
    AddLink("alpha", root_ / "target");
    AddLink("dangling", root_ / "missing");
    root_.WriteFile("ports/plain-file", "");

    const std::vector<PortEntry> entries = List();
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"ttyACM0", "ttyS1", "ttyUSB2", "ttyUSB10",
                                                        "alpha", "zeta"}));
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].path, Dev() + "/ttyACM0");
    EXPECT_EQ(entries[4].path, Ports() + "/alpha");
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
    root_.WriteFile("target", "");
    AddLink("ttyVIRT0", root_ / "target");
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
    root_.WriteFile("target", "");
    const std::size_t room = kMaxPortPathLength - Ports().size() - 1;
    AddLink(std::string(room, 'a'), root_ / "target");
    AddLink(std::string(room + 1, 'b'), root_ / "target");
    const std::vector<PortEntry> entries = List();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path.size(), kMaxPortPathLength);
}

TEST_F(PortDiscoveryTest, TheFirstHundredAreListed) {
    root_.WriteFile("target", "");
    for (int i = 0; i < 60; ++i) {
        AddTty("ttyUSB" + std::to_string(i), true);
        AddLink("port" + std::to_string(i), root_ / "target");
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
