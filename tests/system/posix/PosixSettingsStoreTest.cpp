#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "TempDirectory.h"
#include "system/posix/PosixSettingsStore.h"

namespace velmora {
namespace {

using testing::TempDirectory;

std::string ReadAll(SettingsReader& reader) {
    std::string bytes;
    while (const std::optional<uint8_t> byte = reader.ReadByte()) {
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

class PosixSettingsStoreTest : public ::testing::Test {
  protected:
    std::string File() const { return dir_ / "Config.Ini"; }

    TempDirectory dir_;
    PosixSettingsStore store_;
};

TEST_F(PosixSettingsStoreTest, ReadingAMissingFileCreatesItEmpty) {
    auto reader = store_.OpenForRead(File().c_str());
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(reader->ReadByte().has_value());
    EXPECT_FALSE(reader->ReadByte().has_value());
    EXPECT_TRUE(std::filesystem::exists(File()));
    EXPECT_EQ(std::filesystem::file_size(File()), 0u);
}

TEST_F(PosixSettingsStoreTest, BytesWrittenAreReadBackExactly) {
    std::string bytes = "SwpSp 1                \r\nComPt 2                /dev/ttyACM0\r\n";
    bytes += std::string("\x80\xFF\x00\x1F\x7F", 5);
    for (int i = 0; i < 9000; ++i) {  // more than two read chunks
        bytes.push_back(static_cast<char>(i % 256));
    }
    {
        auto writer = store_.OpenForWrite(File().c_str());
        ASSERT_NE(writer, nullptr);
        EXPECT_TRUE(writer->Write(bytes.data(), 26));
        EXPECT_TRUE(writer->Write(bytes.data() + 26, bytes.size() - 26));
    }
    auto reader = store_.OpenForRead(File().c_str());
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(ReadAll(*reader), bytes);
}

TEST_F(PosixSettingsStoreTest, WritingReplacesTheOldContents) {
    dir_.WriteFile("Config.Ini", std::string(500, 'x'));
    {
        auto writer = store_.OpenForWrite(File().c_str());
        ASSERT_NE(writer, nullptr);
        EXPECT_TRUE(writer->Write("new\r\n", 5));
    }
    EXPECT_EQ(dir_.ReadFile("Config.Ini"), "new\r\n");
}

TEST_F(PosixSettingsStoreTest, AHeldFileCannotBeOpenedAgainAndKeepsItsContents) {
    dir_.WriteFile("Config.Ini", "old\r\n");
    {
        auto holder = store_.OpenForRead(File().c_str());
        ASSERT_NE(holder, nullptr);
        EXPECT_EQ(store_.OpenForRead(File().c_str()), nullptr);
        EXPECT_EQ(store_.OpenForWrite(File().c_str()), nullptr);
        EXPECT_EQ(dir_.ReadFile("Config.Ini"), "old\r\n");
    }
    {
        auto writer = store_.OpenForWrite(File().c_str());
        ASSERT_NE(writer, nullptr);
        EXPECT_EQ(store_.OpenForRead(File().c_str()), nullptr);
    }
    EXPECT_NE(store_.OpenForRead(File().c_str()), nullptr);  // released on close
}

TEST_F(PosixSettingsStoreTest, AnotherProcessCannotOpenAHeldFile) {
    auto holder = store_.OpenForWrite(File().c_str());
    ASSERT_NE(holder, nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PosixSettingsStore store;
        const bool refused = store.OpenForRead(File().c_str()) == nullptr &&
                             store.OpenForWrite(File().c_str()) == nullptr;
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(PosixSettingsStoreTest, PlacesThatCannotHoldTheFileGiveNull) {
    dir_.WriteFile("plain", "x");
    const std::string inFile = dir_ / "plain/Config.Ini";
    const std::string inMissing = dir_ / "missing/Config.Ini";
    EXPECT_EQ(store_.OpenForWrite(inFile.c_str()), nullptr);
    EXPECT_EQ(store_.OpenForRead(inFile.c_str()), nullptr);
    EXPECT_EQ(store_.OpenForWrite(inMissing.c_str()), nullptr);
    EXPECT_EQ(store_.OpenForRead(inMissing.c_str()), nullptr);
    EXPECT_EQ(store_.OpenForWrite(dir_.Path().c_str()), nullptr);  // a directory

    if (geteuid() != 0) {  // permissions do not stop root
        const std::string locked = dir_ / "locked";
        ASSERT_EQ(mkdir(locked.c_str(), 0500), 0);
        EXPECT_EQ(store_.OpenForWrite((locked + "/Config.Ini").c_str()), nullptr);
        EXPECT_EQ(store_.OpenForRead((locked + "/Config.Ini").c_str()), nullptr);
    }
}

}  // namespace
}  // namespace velmora
