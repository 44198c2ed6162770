#include "cli/BodeOptions.h"

#include "capture/FrequencySweep.h"
#include "cli/CommonOptionRows.h"
#include "generator/SendGeneratorCommand.h"

namespace velmora {
namespace {

using Row = OptionRow<BodeOptions>;

constexpr int kMaxPerDecade = 1000;
constexpr int kMaxSettleMs = 600000;

constexpr OptionRange kFrequencies{0, kMaxFrequency, true};
constexpr OptionRange kAmplitudes{0, kMaxAmplitudeVolts, true};

template <std::size_t ch>
void SetProbe(BodeOptions& o, const OptionValue& v) {
    o.probe[ch] = v.integer;
}

void SetAmplitude(BodeOptions& o, const OptionValue& v) {
    OptionValue volts{v.text};
    if (ReadOptionValue(OptionKind::Number, (*v.ranges)[0], {}, volts)) {
        o.amplitude = volts.number;
    } else {
        *v.error = "--amplitude " + std::string(v.text) +
                   " is not a peak amplitude above 0 V and at most 3.3 V";
    }
}

// In the order of the help. A Choice's words are in the order of its list.
constexpr Row kRows[] = {
    PortRow<BodeOptions>(),
    {.name = "--from",
     .kind = OptionKind::Number,
     .set = [](BodeOptions& o, const OptionValue& v) { o.from = v.number; },
     .ranges = {kFrequencies},
     .help = "  --from HZ            the first frequency (default 100)\n"},
    {.name = "--to",
     .kind = OptionKind::Number,
     .set = [](BodeOptions& o, const OptionValue& v) { o.to = v.number; },
     .ranges = {kFrequencies},
     .help = "  --to HZ              the last frequency (default 20000); both within what a\n"
             "                       frame resolves: 50..25600 at 102400 samples a second\n"},
    {.name = "--per-decade",
     .kind = OptionKind::Integer,
     .set = [](BodeOptions& o, const OptionValue& v) { o.perDecade = v.integer; },
     .ranges = {{{1, kMaxPerDecade}}},
     .help = "  --per-decade N       points a decade, {0} (default 10)\n"},
    {.name = "--amplitude",
     .kind = OptionKind::Custom,
     .set = SetAmplitude,
     .ranges = {kAmplitudes},
     .help = "  --amplitude V        generator A's peak, above 0 and at most 3.3 (default 1)\n"},
    {.name = "--settle",
     .kind = OptionKind::Integer,
     .set = [](BodeOptions& o, const OptionValue& v) { o.settleMs = v.integer; },
     .ranges = {{{0, kMaxSettleMs}}},
     .help = "  --settle MS          wait at least MS ms after each frequency change before\n"
             "                       the frame is requested, {0} (default 0)\n"},
    {.name = "--ch1-probe",
     .kind = OptionKind::Choice,
     .set = SetProbe<0>,
     .words = {"x10", "x1"},
     .help = "  --ch1-probe x1|x10   --ch2-probe x1|x10   the probes (default: the\n"
             "                       settings file's, else x1)\n"},
    {.name = "--ch2-probe", .kind = OptionKind::Choice, .set = SetProbe<1>, .words = {"x10", "x1"}},
    {.name = "-o",
     .kind = OptionKind::Text,
     .set = [](BodeOptions& o, const OptionValue& v) { o.csvPath = v.text; },
     .help = "  -o FILE              the response, one row a point (standard output when no\n"
             "                       file is named; - is standard output)\n"},
    {.name = "--png",
     .kind = OptionKind::Text,
     .set = [](BodeOptions& o, const OptionValue& v) { o.pngPath = v.text; },
     .help = "  --png FILE           the Bode plot: gain and phase over frequency\n"},
    SettingsRow<BodeOptions>(),
    SampleRateRow<BodeOptions>(),
    QuietRow<BodeOptions>(),
    ListPortsRow<BodeOptions>(),
    HelpRow<BodeOptions>(),
    VersionRow<BodeOptions>(),
};

std::string Hz(double value) { return OptionNumberText(value) + " Hz"; }

bool CheckSweep(const BodeOptions& o, double sampleRate, std::string& error) {
    const FrequencyLimits limits = ResolvableFrequencies(sampleRate);
    const std::string range = "a frame of 2048 samples at " + OptionNumberText(sampleRate) +
                              " samples a second measures " + Hz(limits.lowest) + " to " +
                              Hz(limits.highest) +
                              " (one whole period in the frame, four samples a period)";
    if (o.from < limits.lowest)
        return error = "--from " + Hz(o.from) + " is too low: " + range, false;
    if (o.to > limits.highest) return error = "--to " + Hz(o.to) + " is too high: " + range, false;
    if (!(o.from < o.to)) {
        return error = "--from " + Hz(o.from) + " must be below --to " + Hz(o.to), false;
    }
    return true;
}

}  // namespace

std::span<const OptionRow<BodeOptions>> BodeOptionRows() { return kRows; }

bool ParseBodeOptions(int argc, const char* const* argv, double defaultSampleRate,
                      BodeOptions& options, std::string& error) {
    if (!ParseOptions(BodeOptionRows(), argc, argv, options, error)) return false;
    if (options.help || options.version || options.listPorts) return true;
    if (options.port.empty()) return error = "--port is missing", false;
    return CheckSweep(options, options.sampleRate > 0 ? options.sampleRate : defaultSampleRate,
                      error);
}

const char* BodeUsageLine() {
    return "usage: velmora-bode --port PORT [--from HZ] [--to HZ] [--per-decade N] "
           "[--amplitude V] [--settle MS] [--ch1-probe x1|x10] [--ch2-probe x1|x10] [-o FILE] "
           "[--png FILE] [--settings FILE] [--sample-rate HZ] [--quiet]";
}

const char* BodeHelp() {
    static const std::string help =
        "velmora-bode: the frequency response of a circuit, measured with the Velmora\n"
        "instrument's own generator and both channels: gain and phase of CH2 over CH1\n"
        "at each frequency of a logarithmic sweep, as a CSV file and a Bode plot.\n"
        "\n"
        "Wiring: generator A drives the circuit's input, and channel 1 watches that\n"
        "input; channel 2 watches the circuit's output.\n"
        "\n"
        "usage: velmora-bode --port PORT [options]\n"
        "       velmora-bode --list-ports | --help | --version\n"
        "\n" +
        OptionHelp(BodeOptionRows()) +
        R"(
At the start generator B is switched off and the time sweep chosen. At each
frequency generator A plays a sine of the amplitude asked for, each channel's
range follows its signal (a clipped channel is measured again on the next
larger range, one under a quarter of full scale on the next smaller one), and
a least-squares sine fit over the whole frame gives each channel's amplitude
and phase: gain = 20 log10(CH2/CH1) dB, phase = CH2 - CH1 in (-180, 180]
degrees. An output under 4 counts on the most sensitive range leaves the
point's gain and phase empty. At the end, and after Ctrl+C, generator A is
switched off.

Exit status: 0 every point measured; 1 the port cannot be opened or frames
stopped arriving (5 s without a frame; the points so far are kept); 2 usage
error (nothing is sent); 130 interrupted (Ctrl+C), the points so far kept.
)";
    return help.c_str();
}

}  // namespace velmora
