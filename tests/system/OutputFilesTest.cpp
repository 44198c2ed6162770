#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// This system's files: the test writes real files the same way on both.
#ifdef _WIN32
#include "system/win32/Win32OutputFiles.h"
using SystemOutputFiles = velmora::Win32OutputFiles;
#else
#include "system/posix/PosixOutputFiles.h"
using SystemOutputFiles = velmora::PosixOutputFiles;
#endif

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return fs::exists(path) ? std::string(std::istreambuf_iterator<char>(in), {}) : "(none)";
}

// On this system's real files (a capture and the window's save alike): a new
// file grows in place and goes again with nothing whole to keep; an existing
// one shows its old bytes until the end and is then replaced by the whole
// part only, or left as it was; no temporary file stays beside it.
TEST(OutputFilesTest, AFileIsReplacedOnlyByTheWholePartAndNothingElseStays) {
    const fs::path dir =
        fs::temp_directory_path() / ("velmora-" + std::to_string(std::random_device{}()));
    struct Case {
        bool existed;
        std::uint64_t keep;
        std::string whileWriting, after;
    } const cases[] = {
        {false, 4, "frame+half", "fram"},
        {false, 0, "frame+half", "(none)"},
        {true, 4, "old", "fram"},
        {true, 0, "old", "old"},
    };
    SystemOutputFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "existed " << c.existed << ", keep " << c.keep);
        fs::remove_all(dir);
        fs::create_directories(dir);
        if (c.existed) std::ofstream(dir / "s.csv", std::ios::binary) << "old";
        std::string error;
        const std::unique_ptr<OutputFile> file = files.Create((dir / "s.csv").string(), error);
        ASSERT_NE(file, nullptr) << error;
        ASSERT_TRUE(file->Write("frame+half", 10)) << file->Error();
        EXPECT_EQ(Text(dir / "s.csv"), c.whileWriting);
        EXPECT_TRUE(file->Finish(c.keep)) << file->Error();
        EXPECT_EQ(Text(dir / "s.csv"), c.after);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), c.after == "(none)" ? 0 : 1);
    }
    // A file someone put under a new output's name meanwhile is not the one
    // that goes when the output has nothing to keep.
    fs::remove(dir / "s.csv");
    std::string error;
    const std::unique_ptr<OutputFile> file = files.Create((dir / "s.csv").string(), error);
    ASSERT_NE(file, nullptr) << error;
    fs::rename(dir / "s.csv", dir / "moved.csv");
    std::ofstream(dir / "s.csv", std::ios::binary) << "theirs";
    EXPECT_TRUE(file->Finish(0));
    EXPECT_EQ(Text(dir / "s.csv"), "theirs");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace velmora
