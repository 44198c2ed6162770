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
    ASSERT_EQ(capped.size(), kMaxComPorts);
    EXPECT_EQ(capped.front().name, "COM1");
    EXPECT_EQ(capped.back().name, "COM100");
    EXPECT_TRUE(ComPortEntries({}).empty());
}

// Stand-ins for GetCommPorts. The table it fills may be too small, and then
// it says so and how many there are, as the system's does.
ULONG Fill(PULONG numbers, ULONG capacity, PULONG found, const std::vector<ULONG>& ports) {
    *found = static_cast<ULONG>(ports.size());
    std::copy_n(ports.begin(), std::min<std::size_t>(capacity, ports.size()), numbers);
    return ports.size() > capacity ? ERROR_MORE_DATA : ERROR_SUCCESS;
}
ULONG WINAPI ThreePorts(PULONG numbers, ULONG capacity, PULONG found) {
    return Fill(numbers, capacity, found, {12, 3, 7});
}
ULONG WINAPI HundredFiftyPorts(PULONG numbers, ULONG capacity, PULONG found) {
    std::vector<ULONG> ports(150);
    std::iota(ports.rbegin(), ports.rend(), 1u);  // the highest first
    return Fill(numbers, capacity, found, ports);
}
ULONG WINAPI PortsTwiceOver(PULONG numbers, ULONG capacity, PULONG found) {
    return Fill(numbers, capacity, found, {9, 4, 9});
}

std::vector<uint32_t> Range(uint32_t first, uint32_t last) {
    std::vector<uint32_t> numbers(last - first + 1);
    std::iota(numbers.begin(), numbers.end(), first);
    return numbers;
}

TEST(ComPortListTest, DiscoveryJoinsTheSystemsListWithTheDosDevicesLowestHundredAscending) {
    struct Case {
        const char* what;
        GetCommPortsFn getCommPorts;
        std::vector<uint32_t> registry, dosDevices, expected;
    };
    const Case cases[] = {
        // The registry is asked only when GetCommPorts is missing.
        {"GetCommPorts", ThreePorts, {40}, {}, {3, 7, 12}},
        {"more than 100 ports", HundredFiftyPorts, {}, {}, Range(1, 100)},
        {"no GetCommPorts", nullptr, {40, 2}, {2, 8}, {2, 8, 40}},
        {"only a DOS device", ThreePorts, {}, {5, 3}, {3, 5, 7, 12}},
        {"duplicates", PortsTwiceOver, {}, {4, 9, 4}, {4, 9}},
        {"DOS devices above 100 ports", HundredFiftyPorts, {}, {200, 1}, Range(1, 100)},
        {"nothing", nullptr, {}, {}, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<PortEntry> entries = DiscoverComPorts(
            {c.getCommPorts, [&c] { return c.registry; }, [&c] { return c.dosDevices; }});
        std::vector<uint32_t> numbers;
        for (const PortEntry& entry : entries) numbers.push_back(*ComPortNumber(entry.name));
        EXPECT_EQ(numbers, c.expected);
    }
}

}  // namespace
}  // namespace velmora
