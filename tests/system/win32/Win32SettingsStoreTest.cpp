#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "system/win32/Win32SettingsStore.h"

namespace velmora {
namespace {

std::string ReadAll(SettingsReader& reader) {
    std::string bytes;
    while (const std::optional<uint8_t> byte = reader.ReadByte()) bytes.push_back(char(*byte));
    return bytes;
}

// A fresh directory under the temporary folder, made the current directory
// (the store opens relative names there), removed again at the end.
class Win32SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::array<char, MAX_PATH> temp{};
        ASSERT_NE(GetTempPathA(MAX_PATH, temp.data()), 0u);
        dir_ = std::string(temp.data()) + "velmora-store-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        std::array<char, MAX_PATH> cwd{};
        GetCurrentDirectoryA(MAX_PATH, cwd.data());
        previous_ = cwd.data();
        ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));
        DeleteFileA("Config.Ini");
    }
    void TearDown() override {
        DeleteFileA("Config.Ini");
        SetCurrentDirectoryA(previous_.c_str());
        RemoveDirectoryA(dir_.c_str());
    }

    static std::string FileBytes() {
        Win32SettingsStore other;
        auto reader = other.OpenForRead("Config.Ini");
        return reader ? ReadAll(*reader) : "<held>";
    }
    void WriteBytes(const std::string& bytes) {
        auto writer = store_.OpenForWrite("Config.Ini");
        ASSERT_NE(writer, nullptr);
        EXPECT_TRUE(writer->Write(bytes.data(), bytes.size()));
    }

    std::string dir_;
    std::string previous_;
    Win32SettingsStore store_;
};

TEST_F(Win32SettingsStoreTest, MissingFileIsCreatedEmptyAndBytesComeBackUntranslated) {
    {
        auto reader = store_.OpenForRead("Config.Ini");
        ASSERT_NE(reader, nullptr);
        EXPECT_FALSE(reader->ReadByte().has_value());
    }
    EXPECT_NE(GetFileAttributesA(".\\Config.Ini"), INVALID_FILE_ATTRIBUTES);

    // CR LF, a lone LF, ^Z and bytes of 0x80 and up pass unchanged, across
    // more than two of the reader's chunks.
    std::string bytes = "SwpSp 1                \r\nComPt 0                \\\\.\\COM5\r\n\n";
    bytes += std::string("\x1A\x80\xFF\x00\r", 5);
    for (int i = 0; i < 9000; ++i) bytes.push_back(static_cast<char>(i % 251));
    WriteBytes(bytes);
    EXPECT_EQ(FileBytes(), bytes);

    WriteBytes("short");  // a shorter file leaves nothing of the longer one
    EXPECT_EQ(FileBytes(), "short");
}

TEST_F(Win32SettingsStoreTest, AFileHeldOpenIsNeitherOpenedAgainNorEmptied) {
    WriteBytes("SwpSp 0                \r\n");
    {
        auto reader = store_.OpenForRead("Config.Ini");
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(store_.OpenForRead("Config.Ini"), nullptr);
        EXPECT_EQ(store_.OpenForWrite("Config.Ini"), nullptr);
        EXPECT_EQ(ReadAll(*reader), "SwpSp 0                \r\n");
    }
    {
        auto writer = store_.OpenForWrite("Config.Ini");
        ASSERT_NE(writer, nullptr);
        EXPECT_EQ(store_.OpenForWrite("Config.Ini"), nullptr);
        EXPECT_EQ(store_.OpenForRead("Config.Ini"), nullptr);
    }
    EXPECT_EQ(FileBytes(), "");  // the writer that held it truncated it, nothing more
}

}  // namespace
}  // namespace velmora
