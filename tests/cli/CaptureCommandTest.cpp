#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "integration/InstrumentSession.h"

namespace velmora {
namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// velmora-capture against the virtual instrument on a pseudo-terminal, each
// instrument tracing the commands it receives.
class CaptureCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-captXXXXXX";
        dir_ = mkdtemp(pattern);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);  // the instruments register their ports here
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Starts an instrument tracing into `trace`; returns its port.
    std::string StartInstrument(const std::string& trace) {
        InstrumentOptions options;
        options.traceFile = dir_ + "/" + trace;
        instrument_ = std::make_unique<VirtualInstrument>(options);
        std::string error;
        EXPECT_TRUE(instrument_->Start(error)) << error;
        return instrument_->LinkPath();
    }

    // Runs the command; its exit status, standard error in `err`.
    int Capture(const std::string& args, std::string& err) {
        const std::string errPath = dir_ + "/stderr";
        const std::string command =
            std::string(VELMORA_CAPTURE_EXE) + " " + args + " 2>" + errPath + " >/dev/null";
        const int status = std::system(command.c_str());
        err = Text(errPath);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string dir_;
    std::unique_ptr<VirtualInstrument> instrument_;
};

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

TEST_F(CaptureCommandTest, NFramesGiveNTimes2048RowsNumberedByFrame) {
    const std::string port = StartInstrument("trace");
    std::string err;
    ASSERT_EQ(Capture("--port " + port + " --frames 3 -o " + dir_ + "/s.csv", err), 0) << err;
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
    struct Case {
        std::string args;
        int status;
        const char* says;
    } const cases[] = {
        {"--port /dev/ttyVELMORA-NONE", 1, "does not exist"},
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
}

}  // namespace
}  // namespace velmora
