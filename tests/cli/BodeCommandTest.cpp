#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/ProgramRun.h"
#include "instrument/VirtualInstrument.h"
#include "support/CsvCells.h"

namespace velmora {
namespace {

using testing::Lines;
using testing::Text;

// velmora-bode against the virtual instrument with a circuit between
// generator A and channel 2.
class BodeCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-bodeXXXXXX";
        dir_ = mkdtemp(pattern);
        setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);  // the instrument registers its port here
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string StartInstrument(const char* circuit) {
        InstrumentOptions options;
        options.traceFile = dir_ + "/trace";
        std::string error;
        EXPECT_TRUE(CircuitUnderTest::Parse(circuit, options.circuit, error)) << error;
        instrument_ = std::make_unique<VirtualInstrument>(options);
        EXPECT_TRUE(instrument_->Start(error)) << error;
        return instrument_->LinkPath();
    }

    int Bode(const std::string& args, std::string& err) {
        return testing::RunProgram(VELMORA_BODE_EXE, args, dir_ + "/stderr", err);
    }

    // The data rows of the response file.
    std::vector<std::vector<double>> Rows() {
        std::vector<std::vector<double>> rows;
        for (const std::string& line : Lines(dir_ + "/r.csv")) {
            if (!line.empty() && line[0] != '#' && line[0] != 'F')
                rows.push_back(testing::CsvCells(line));
        }
        return rows;
    }

    std::string dir_;
    std::unique_ptr<VirtualInstrument> instrument_;
};

// An RC low-pass, and the same with 20 dB of gain: 10 V peak out of 1 V in
// needs a larger range than the +-1 V that start-up leaves.
TEST_F(BodeCommandTest, MeasuresALowPassAgainstItsFormula) {
    for (const double gain : {1.0, 10.0}) {
        SCOPED_TRACE(gain);
        const std::string circuit = "lowpass,1000," + std::to_string(gain);
        const std::string port = StartInstrument(circuit.c_str());
        std::string err;
        ASSERT_EQ(Bode("--port " + port + " --from 100 --to 10000 --per-decade 1 --quiet -o " +
                           dir_ + "/r.csv --png " + dir_ + "/r.png",
                       err),
                  0)
            << err;
        const std::vector<std::vector<double>> rows = Rows();
        ASSERT_EQ(rows.size(), 3u);
        for (const std::vector<double>& r : rows) {
            const double x = r[0] / 1000.0;
            SCOPED_TRACE(r[0]);
            EXPECT_NEAR(r[3], 20 * std::log10(gain / std::sqrt(1 + x * x)), 0.2);
            EXPECT_NEAR(r[4], -std::atan(x) * 180 / M_PI, 2.0);
        }
        if (gain == 10.0) {
            EXPECT_GT(rows[0][6], 10.0);  // CH2's range at 100 Hz
        }
        const std::string png = Text(dir_ + "/r.png");
        EXPECT_EQ(png.substr(1, 3), "PNG");
        instrument_.reset();
    }
}

// A sweep the frame cannot hold, or options out of range: exit 2, and not a
// byte reaches the instrument.
TEST_F(BodeCommandTest, UsageErrorsSendNothing) {
    const std::string port = StartInstrument("lowpass,1000");
    for (const char* args :
         {"--from 10", "--to 40000", "--amplitude 5", "--from 2000 --to 1000", "--per-decade 0"}) {
        SCOPED_TRACE(args);
        std::string err;
        EXPECT_EQ(Bode("--port " + port + " " + args, err), 2);
        EXPECT_NE(err.find("usage: velmora-bode"), std::string::npos) << err;
    }
    EXPECT_EQ(Text(dir_ + "/trace"), "");
}

}  // namespace
}  // namespace velmora
