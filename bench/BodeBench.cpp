// The accuracy and the speed of velmora-bode against the virtual instrument's
// circuits under test: for each circuit, the default sweep (100 Hz to 20 kHz,
// 25 points) by the real program, its gain and phase held against the
// circuit's own response, and the time the sweep took. A plain program that
// prints its figures; the goals are 0.1 dB and 1 degree wherever the output
// is at least 1 % of its range's full scale, and under 8 s a sweep.
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "instrument/VirtualInstrument.h"
#include "support/CsvCells.h"

namespace velmora {
namespace {

constexpr double kOutputShare = 0.01;  // of the output's range, below which a point is not counted

struct Figures {
    double gainError = 0.0;   // dB, the largest
    double phaseError = 0.0;  // degrees
    int counted = 0;
    int points = 0;
    double seconds = 0.0;
    int status = -1;
};

Figures Sweep(const char* circuitText, const std::string& dir) {
    Figures f;
    InstrumentOptions options;
    std::string error;
    if (!CircuitUnderTest::Parse(circuitText, options.circuit, error)) return f;
    VirtualInstrument instrument(options);
    if (!instrument.Start(error)) return f;
    const std::string csv = dir + "/response.csv";
    const std::string command = std::string(VELMORA_BODE_PROGRAM) + " --quiet --port " +
                                instrument.LinkPath() + " -o " + csv;
    const auto start = std::chrono::steady_clock::now();
    f.status = std::system(command.c_str());
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ifstream in(csv);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line[0] == 'F') continue;
        const std::vector<double> c = testing::CsvCells(line);  // Hz, CH1, CH2, dB, deg, ranges
        ++f.points;
        if (c.size() < 7 || std::isnan(c[3]) || c[2] < kOutputShare * c[6]) continue;
        const std::complex<double> h = options.circuit.Response(c[0]);
        const double phase = std::remainder(c[4] - std::arg(h) * 180 / std::numbers::pi, 360.0);
        f.gainError = std::max(f.gainError, std::fabs(c[3] - 20 * std::log10(std::abs(h))));
        f.phaseError = std::max(f.phaseError, std::fabs(phase));
        ++f.counted;
    }
    return f;
}

}  // namespace
}  // namespace velmora

int main() {
    char pattern[] = "/tmp/velmora-bodebenchXXXXXX";
    const std::string dir = mkdtemp(pattern);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);  // the instrument's port link goes here
    std::printf("%-20s %8s %10s %10s %8s %8s\n", "circuit", "points", "gain err", "phase err",
                "counted", "seconds");
    for (const char* circuit : {"lowpass,1000", "highpass,1000", "bandpass,2000,5"}) {
        const velmora::Figures f = velmora::Sweep(circuit, dir);
        std::printf("%-20s %8d %7.3f dB %6.2f deg %8d %8.2f%s\n", circuit, f.points, f.gainError,
                    f.phaseError, f.counted, f.seconds, f.status == 0 ? "" : "  (failed)");
    }
    std::filesystem::remove_all(dir);
    return 0;
}
