#include <gtest/gtest.h>

#include <numeric>

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

}  // namespace
}  // namespace velmora
