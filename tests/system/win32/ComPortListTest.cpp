#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "system/win32/ComPortDiscovery.h"
#include "system/win32/ComPortList.h"

namespace velmora {
namespace {

TEST(ComPortListTest, PortNamesParseOnlyAsComAndANumber) {
    const std::pair<const char*, std::optional<uint32_t>> cases[] = {
        {"COM5", 5u},
        {"com12", 12u},
        {"CoM255", 255u},
        {"COM4294967295", UINT32_MAX},
        {"COM4294967296", std::nullopt},
        {"COM0", std::nullopt},
        {"COM", std::nullopt},
        {"COM5 ", std::nullopt},
        {"COM-1", std::nullopt},
        {"LPT1", std::nullopt},
        {"COMX", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(ComPortNumber(text), expected) << text;
}

TEST(ComPortListTest, EntriesAscendOnceEachWithDevicePathsAndStopAtAHundred) {
    const std::vector<PortEntry> entries = ComPortEntries({12, 3, 250, 3, 0, 1});
    ASSERT_EQ(entries.size(), 4u);
    const char* const names[] = {"COM1", "COM3", "COM12", "COM250"};
    const char* const paths[] = {"\\\\.\\COM1", "\\\\.\\COM3", "\\\\.\\COM12", "\\\\.\\COM250"};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].name, names[i]);
        EXPECT_EQ(entries[i].path, paths[i]);
    }
    EXPECT_EQ(ComPortEntries({5})[0].path.size(), 8u);  // \\.\COM5

    std::vector<uint32_t> many(150);
    std::iota(many.rbegin(), many.rend(), 1u);  // 150 down to 1
    const std::vector<PortEntry> capped = ComPortEntries(many);
    ASSERT_EQ(capped.size(), kMaxPorts);
    EXPECT_EQ(capped.front().name, "COM1");
    EXPECT_EQ(capped.back().name, "COM100");
    EXPECT_TRUE(ComPortEntries({}).empty());
}

// A stand-in for GetCommPorts: when the table is too small for the ports it
// says so and how many there are, as the system's does.
std::vector<ULONG> g_ports;
ULONG WINAPI FakeGetCommPorts(PULONG numbers, ULONG capacity, PULONG found) {
    *found = static_cast<ULONG>(g_ports.size());
    std::copy_n(g_ports.begin(), std::min<std::size_t>(capacity, g_ports.size()), numbers);
    return g_ports.size() > capacity ? ERROR_MORE_DATA : ERROR_SUCCESS;
}

TEST(ComPortListTest, DiscoveryJoinsTheSystemsListWithTheDosDevicesLowestHundredAscending) {
    std::vector<ULONG> many(150);
    std::iota(many.rbegin(), many.rend(), 1u);  // the highest first
    std::vector<uint32_t> lowest(100);
    std::iota(lowest.begin(), lowest.end(), 1u);
    struct Case {
        std::vector<ULONG> getCommPorts;  // empty: the system has no GetCommPorts
        std::vector<uint32_t> registry, dosDevices, expected;
    } const cases[] = {{{12, 3, 7}, {40}, {}, {3, 7, 12}},  // the registry is asked only without it
                       {many, {}, {200, 1}, lowest},        // after ERROR_MORE_DATA, the lowest 100
                       {{}, {40, 2}, {2, 8}, {2, 8, 40}},   // no GetCommPorts
                       {{12, 3, 7}, {}, {5}, {3, 5, 7, 12}},  // a port only a DOS device knows
                       {{9, 4, 9}, {4}, {4, 9, 4}, {4, 9}},   // duplicates
                       {{}, {}, {}, {}}};
    for (const Case& c : cases) {
        g_ports = c.getCommPorts;
        const std::vector<PortEntry> entries = DiscoverComPorts(
            {c.getCommPorts.empty() ? nullptr : FakeGetCommPorts, [&c] { return c.registry; },
             [&c] { return c.dosDevices; }, [](uint32_t number) { return number == 2; }});
        std::vector<uint32_t> numbers;
        for (const PortEntry& entry : entries) {
            numbers.push_back(*ComPortNumber(entry.name));
            EXPECT_EQ(entry.pickedOnly, numbers.back() == 2) << entry.name;
        }
        EXPECT_EQ(numbers, c.expected);
    }
}

// On-board UARTs and Bluetooth ports are opened only when the user picks
// them. Under Wine every COM port is \Device\Serial<n>; there the Unix
// device of Wine's own port table tells.
TEST(ComPortListTest, OnBoardAndBluetoothPortsArePickedOnly) {
    const struct {
        const char *device, *wineTarget;
        bool pickedOnly;
    } cases[] = {{"\\Device\\Serial0", "", true},
                 {"\\Device\\BthModem3", "", true},
                 {"\\Device\\VCP0", "", false},
                 {"\\Device\\USBSER000", "", false},
                 {"\\Device\\Silabser0", "", false},
                 {"", "", false},
                 {"\\Device\\Serial4", "/dev/pts/8", false},
                 {"\\Device\\Serial0", "/dev/ttyS0", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(PickedOnlyDevice(c.device, c.wineTarget), c.pickedOnly)
            << c.device << c.wineTarget;
    }
}

}  // namespace
}  // namespace velmora
