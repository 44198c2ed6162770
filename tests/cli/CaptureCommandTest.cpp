#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/ProgramRun.h"
#include "integration/InstrumentSession.h"

namespace velmora {
namespace {

using testing::Lines;
using testing::Text;

// velmora-capture against the virtual instrument on a pseudo-terminal, each
// instrument tracing the commands it receives.
class CaptureCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-captXXXXXX";
        dir_ = mkdtemp(pattern);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);  // the instruments register their ports here
    }
    void TearDown() override {
        if (!mounted_.empty()) umount(mounted_.c_str());
        std::filesystem::remove_all(dir_);
    }

    // Starts an instrument tracing into `trace`; returns its port.
    std::string StartInstrument(const std::string& trace) {
        InstrumentOptions options;
        options.traceFile = dir_ + "/" + trace;
        instrument_ = std::make_unique<VirtualInstrument>(options);
        std::string error;
        EXPECT_TRUE(instrument_->Start(error)) << error;
        return instrument_->LinkPath();
    }

    // Runs the command; its exit status, standard error in `err`. With
    // `growing`, Ctrl+C reaches it once that measurements file holds two rows.
    int Capture(const std::string& args, std::string& err, const std::string& growing = "") {
        const std::string errPath = dir_ + "/stderr";
        const std::string command = "exec " + std::string(VELMORA_CAPTURE_EXE) + " " + args +
                                    " 2>" + errPath + " >/dev/null";
        const pid_t pid = fork();
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; !growing.empty() && i < 1000 && Lines(growing).size() < 13; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!growing.empty()) kill(pid, SIGINT);
        int status = 0;
        waitpid(pid, &status, 0);
        err = Text(errPath);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string dir_;
    std::string mounted_;
    std::unique_ptr<VirtualInstrument> instrument_;
};

// Frames in a samples file, when it holds whole frames numbered in order only.
int WholeFrames(const std::string& text) {
    std::stringstream in(text);
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (std::isdigit(static_cast<unsigned char>(line[0])) &&
            std::stoi(line) != 1 + rows++ / 2048)
            return -1;
    }
    return rows % 2048 == 0 && !text.empty() && text.back() == '\n' ? rows / 2048 : -1;
}

TEST_F(CaptureCommandTest, WireIsTheWindowsStartUpThenEachSettingAndTheSineIsMeasured) {
    InstrumentOptions windowOptions;
    windowOptions.traceFile = dir_ + "/window";
    {
        test::InstrumentSession window(windowOptions);
        ASSERT_TRUE(window.Started()) << window.Error();
        window.Form().FormCreate();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);  // the session's own directory is gone
    const std::vector<std::string> startUp = Lines(dir_ + "/window");
    // z, the sweep's and the lists' sync commands, X, Y, and the request that
    // follows the settings.
    ASSERT_EQ(startUp.size(), 6u);

    const std::string port = StartInstrument("capture");
    std::string err;
    ASSERT_EQ(Capture("--port " + port +
                          " --ch1-range 12 --trigger ch1 --slope rise --level -500 --position 300"
                          " --gen1 sine,1000,1 --quiet -o " +
                          dir_ + "/s.csv --measure " + dir_ + "/m.csv",
                      err),
              0)
        << err;
    instrument_->Stop();
    std::vector<std::string> wire = Lines(dir_ + "/capture");
    ASSERT_GE(wire.size(), startUp.size() + 4);
    wire.resize(startUp.size() + 4);
    std::vector<std::string> expected = startUp;
    expected.insert(expected.end(), {"X 3", "S 0 0 300 -500", "G 0 1 1000 1", "z"});
    EXPECT_EQ(wire, expected);

    const std::vector<std::string> m = Lines(dir_ + "/m.csv");
    ASSERT_FALSE(m.empty());
    std::vector<std::string> cells;
    std::stringstream row(m.back());
    for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    ASSERT_GT(cells.size(), 8u);
    EXPECT_EQ(cells[0], "1");
    EXPECT_NEAR(std::stod(cells[8]), 1000, 5) << m.back();  // CH1 Frequency (Hz)
}

// Without a setting of its own, the capture still writes only frames asked
// for after start-up's settings went out: the instrument heard a request for
// every frame after its last setting.
TEST_F(CaptureCommandTest, NFramesGiveNTimes2048RowsNumberedByFrame) {
    const std::string port = StartInstrument("trace");
    std::string err;
    ASSERT_EQ(Capture("--port " + port + " --frames 3 -o " + dir_ + "/s.csv", err), 0) << err;
    const std::vector<std::string> wire = Lines(dir_ + "/trace");
    const auto lastSetting = std::find_if(wire.rbegin(), wire.rend(),
                                          [](const std::string& line) { return line != "z"; });
    EXPECT_GE(lastSetting - wire.rbegin(), 3) << "requests after the last setting";
    int rows = 0;
    for (const std::string& line : Lines(dir_ + "/s.csv")) {
        if (line.empty() || line[0] == '#' || line[0] == 'F') continue;
        EXPECT_EQ(line[0] - '0', 1 + rows / 2048) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 3 * 2048);
}

TEST_F(CaptureCommandTest, FailuresExitWithTheirStatusAndABadOptionNeverTouchesThePort) {
    const std::string port = StartInstrument("trace");
    const std::string notes = dir_ + "/notes.txt";
    std::ofstream(notes) << "a file, not a port\n";
    // A link its instrument left behind: its lock file is there, nobody holds it.
    const std::string stale = std::filesystem::path(port).parent_path() / "left";
    std::filesystem::create_symlink(std::filesystem::read_symlink(port), stale);
    std::ofstream(stale + ".lock");
    struct Case {
        std::string args;
        int status;
        std::string says;
    } const cases[] = {
        {"--port /dev/ttyVELMORA-NONE", 1, "does not exist"},
        {"--port " + notes, 1, notes + " is not a serial port"},
        {"--port " + stale, 1, stale + " is not a serial port (a port link left behind"},
        {"--port " + port + " --level 3000", 2, "usage: velmora-capture"},
        {"--port " + port + " --ch1-range 240", 2, "x1 probe has no range 240"},
        {"--port " + port + " --gen1 triangle,100,1", 2, "no waveform 'triangle'"},
        {"--port " + port + " --frames many", 2, "bad value 'many'"},
        {"--port " + port + " --no-such-option 1", 2, "unknown option"},
        {"--port " + port + " -o - --measure -", 2, "standard output"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        std::string err;
        EXPECT_EQ(Capture(c.args, err), c.status);
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(Text(dir_ + "/trace"), "");
    EXPECT_EQ(Text(notes), "a file, not a port\n");
}

// Frames that stop are said to stop in the words the window's picture uses.
TEST_F(CaptureCommandTest, FramesThatStopSayWhy) {
    struct Case {
        const char* says;
        bool silent, flood, unplug;
    } const cases[] = {
        {"(no answer for 5 s): 0 of 2 arrived", true, false, false},
        {"(answers that are not frames: ", false, true, false},
        {"(disconnected): 1 of 1000 arrived", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        InstrumentOptions options;
        options.silent = c.silent;
        options.flood = c.flood;
        instrument_ = std::make_unique<VirtualInstrument>(options);
        std::string error;
        ASSERT_TRUE(instrument_->Start(error)) << error;
        const std::string m = dir_ + "/m.csv";
        std::filesystem::remove(m);
        std::thread unplug([&] {
            for (int i = 0; c.unplug && i < 1000 && Lines(m).size() < 12; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (c.unplug) instrument_->Stop();
        });
        std::string err;
        const std::string frames = c.unplug ? " --frames 1000" : " --frames 2";
        EXPECT_EQ(Capture("--port " + instrument_->LinkPath() + frames + " --measure " + m, err),
                  1);
        unplug.join();
        EXPECT_NE(err.find(std::string("frames stopped arriving from ")), std::string::npos) << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        instrument_.reset();
    }
}

// However a capture ends, an existing -o file is as it was, byte for byte, or
// holds whole frames only, as many as the new measurements file beside it; a
// device stays a device; no temporary file is left; what fails before the
// port is set up sends it nothing. Full disks and devices need root.
TEST_F(CaptureCommandTest, EveryEndingLeavesAnExistingFileAsItWasOrWithWholeFrames) {
    const std::string port = StartInstrument("trace");
    const std::string out = dir_ + "/out", full = dir_ + "/full";
    std::filesystem::create_directories(out);
    std::filesystem::create_directories(full);
    // 256 KiB hold three frames of samples.
    const bool root = mount("tmpfs", full.c_str(), "tmpfs", 0, "size=256k") == 0;
    if (root) mounted_ = full;
    const int held = open(port.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(held, 0);
    enum Leaves { kUnchanged, kFrames, kDevice };  // kUnchanged: the port hears nothing either
    struct Case {
        const char* what;
        std::string folder, args;
        int status;
        std::string says;
        Leaves leaves;
        bool interrupt = false;
    } const cases[] = {
        {"missing port", out, "--port " + dir_ + "/none", 1, "does not exist", kUnchanged},
        {"busy port", out, "--port " + port, 1, "another program holds it", kUnchanged},
        {"bad option", out, "--port " + port + " --level 3000", 2, "usage:", kUnchanged},
        {"unwritable --measure", out, "--port " + port + " --measure " + out + "/no/m.csv", 1,
         "cannot write " + out + "/no/m.csv: No such file or directory", kUnchanged},
        {"full disk", full, "--port " + port + " --frames 20", 1,
         "cannot write " + full + "/s.csv: No space left on device; ", kFrames},
        {"device", dir_, "--port " + port + " --frames 2", 1,
         "cannot write " + dir_ + "/s.csv: No space left on device; no complete frame", kDevice},
        {"Ctrl+C", out, "--port " + port + " --seconds 60", 130, "", kFrames, true},
    };
    const std::string old = "# an earlier capture\n1,2,3\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string s = c.folder + "/s.csv", m = c.folder + "/m.csv";
        if ((c.folder == full || c.leaves == kDevice) && !root) continue;
        ASSERT_TRUE(c.leaves != kDevice || mknod(s.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0);
        if (c.leaves != kDevice) std::ofstream(s, std::ios::binary) << old;
        std::filesystem::remove(m);
        const std::string traced = Text(dir_ + "/trace");
        if (c.what == std::string("busy port")) flock(held, LOCK_EX);
        std::string err;
        EXPECT_EQ(Capture("-o " + s + " --measure " + m + " " + c.args, err, c.interrupt ? m : ""),
                  c.status);
        flock(held, LOCK_UN);
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        const auto files = std::distance(std::filesystem::directory_iterator(c.folder), {});
        if (c.leaves == kUnchanged) {
            EXPECT_TRUE(Text(s) == old) << "changed";
            EXPECT_EQ(files, 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_EQ(Text(dir_ + "/trace"), traced);
        } else if (c.leaves == kFrames) {
            const int frames = WholeFrames(Text(s));
            EXPECT_GE(frames, 2) << err;
            EXPECT_LT(frames, 20);
            EXPECT_EQ(Lines(m).size(), 11u + frames);  // comments, names, rows
            EXPECT_EQ(files, 2);
        } else {
            struct stat info {};
            EXPECT_TRUE(stat(s.c_str(), &info) == 0 && S_ISCHR(info.st_mode));
            EXPECT_FALSE(std::filesystem::exists(m));
        }
    }
    close(held);
    if (!root) GTEST_SKIP() << "a full disk and a device need root";
}

}  // namespace
}  // namespace velmora
