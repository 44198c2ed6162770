#include "cli/CaptureOptions.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "cli/CommonOptionRows.h"
#include "display/VoltLabel.h"
#include "generator/SendGeneratorCommand.h"
#include "link/ScopeControls.h"
#include "link/WaveformNames.h"

namespace velmora {
namespace {

using Row = OptionRow<CaptureOptions>;

constexpr std::size_t kRanges = std::size(kSpanTable[1]);
// The "+-" volts of each range with a x1 probe, by range index: half its span.
constexpr std::array<int, kRanges> kRangeVolts = [] {
    std::array<int, kRanges> volts{};
    for (std::size_t i = 0; i < kRanges; ++i) volts[i] = kSpanTable[1][i] / 2;
    return volts;
}();
constexpr int kX10Factor = kSpanTable[0][0] / kSpanTable[1][0];
constexpr int kMaxFrames = 1000000000;
constexpr double kMaxSeconds = 1e7;

constexpr OptionRange kSyncLevels{kSyncLevelMin, kSyncLevelMax};
constexpr OptionRange kSyncPositions{kSyncPositionMin, kSyncPositionMax};
constexpr OptionRange kChannelVolts{
    *std::min_element(kRangeVolts.begin(), kRangeVolts.end()),
    *std::max_element(kRangeVolts.begin(), kRangeVolts.end()) * kX10Factor, false, kRangeVolts};
constexpr OptionRange kFrequencies{kMinFrequency, kMaxFrequency};
constexpr OptionRange kAmplitudes{0, kMaxAmplitudeVolts};

std::string Span(const OptionRange& range) {
    return OptionNumberText(range.lo) + " to " + OptionNumberText(range.hi);
}

// WAVE,HZ,VOLTS or off; the ranges are the frequency's and the amplitude's.
bool Generator(std::string_view text, const std::array<OptionRange, 2>& ranges, GeneratorSetting& g,
               std::string& error) {
    if (text == "off") {
        g = GeneratorSetting{};
        return true;
    }
    const std::size_t a = text.find(',');
    const std::size_t b = a == std::string_view::npos ? a : text.find(',', a + 1);
    if (b == std::string_view::npos || text.find(',', b + 1) != std::string_view::npos) {
        error = "a generator is WAVE,HZ,VOLTS or off";
        return false;
    }
    const std::string_view wave = text.substr(0, a);
    g.waveform = WaveformCharacter(wave) - '0';  // the generator list's index, 0 for none
    if (g.waveform < 1) {
        error = "no waveform '" + std::string(wave) + "'";
        return false;
    }
    g.frequency = std::string(text.substr(a + 1, b - a - 1));
    g.amplitude = std::string(text.substr(b + 1));
    OptionValue hz{g.frequency}, volts{g.amplitude};
    if (!ReadOptionValue(OptionKind::Number, ranges[0], {}, hz)) {
        error = "frequency '" + g.frequency + "' is not a number of " + Span(ranges[0]) + " Hz";
        return false;
    }
    if (!ReadOptionValue(OptionKind::Number, ranges[1], {}, volts)) {
        error = "amplitude '" + g.amplitude + "' is not a number of " + Span(ranges[1]) + " V";
        return false;
    }
    return true;
}

template <std::size_t ch>
void SetProbe(CaptureOptions& o, const OptionValue& v) {
    o.probe[ch] = v.integer;
}

template <std::size_t ch>
void SetRange(CaptureOptions& o, const OptionValue& v) {
    o.range[ch] = RangeRequest{v.integer};
}

template <std::size_t ch>
void SetGenerator(CaptureOptions& o, const OptionValue& v) {
    GeneratorSetting g;
    if (Generator(v.text, *v.ranges, g, *v.error)) o.generator[ch] = g;
}

// In the order of the help. A Choice's words are in the order of its list.
constexpr Row kRows[] = {
    PortRow<CaptureOptions>(),
    {.name = "--frames",
     .kind = OptionKind::Integer,
     .set =
         [](CaptureOptions& o, const OptionValue& v) {
             o.frames = v.integer;
             o.framesGiven = true;
         },
     .ranges = {{{1, kMaxFrames}}},
     .help = "  --frames N           capture N frames (default 1)\n"},
    {.name = "--seconds",
     .kind = OptionKind::Number,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.seconds = v.number; },
     .ranges = {{{0, kMaxSeconds, true}}},
     .help = "  --seconds S          capture every frame that arrives in S seconds\n"},
    {.name = "-o",
     .kind = OptionKind::Text,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.samplesPath = v.text; },
     .help = "  -o FILE              the samples: Time (s),CH1 (V),CH2 (V), 2048 rows a frame\n"
             "                       (standard output when no output is named; - is standard\n"
             "                       output)\n"},
    {.name = "--spectrum",
     .kind = OptionKind::Text,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.spectrumPath = v.text; },
     .help = "  --spectrum FILE      the spectrum: Frequency (Hz),CH1 (V),CH2 (V), 1024 rows\n"},
    {.name = "--measure",
     .kind = OptionKind::Text,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.measurePath = v.text; },
     .help = "  --measure FILE       one row of measurements a frame\n"},
    SettingsRow<CaptureOptions>(),
    SampleRateRow<CaptureOptions>(),
    QuietRow<CaptureOptions>(),
    ListPortsRow<CaptureOptions>(),
    HelpRow<CaptureOptions>(),
    VersionRow<CaptureOptions>(),

    {.name = "--sweep",
     .kind = OptionKind::Choice,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.sweep = v.integer; },
     .words = {"xy", "time"},
     .help = "  --sweep time|xy\n",
     .heading = "\nInstrument settings (applied after the settings file, as a user's clicks):\n"},
    {.name = "--ch1-probe", .kind = OptionKind::Choice, .set = SetProbe<0>, .words = {"x10", "x1"}},
    {.name = "--ch1-range",
     .kind = OptionKind::Integer,
     .set = SetRange<0>,
     .ranges = {kChannelVolts},
     .help = "  --ch1-probe x1|x10   --ch1-range V     (and --ch2-...) V: {0},\n"
             "                                         ten times that with a x10 probe\n"},
    {.name = "--ch2-probe", .kind = OptionKind::Choice, .set = SetProbe<1>, .words = {"x10", "x1"}},
    {.name = "--ch2-range",
     .kind = OptionKind::Integer,
     .set = SetRange<1>,
     .ranges = {kChannelVolts}},
    {.name = "--trigger",
     .kind = OptionKind::Choice,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.triggerSource = v.integer; },
     .words = {"ch1", "ch2"},
     .help = "  --trigger ch1|ch2    --slope rise|fall\n"},
    {.name = "--slope",
     .kind = OptionKind::Choice,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.triggerSlope = v.integer; },
     .words = {"rise", "fall"}},
    {.name = "--level",
     .kind = OptionKind::Integer,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.triggerLevel = v.integer; },
     .ranges = {kSyncLevels},
     .help = "  --level COUNTS       {0}, as the sync level bar sends it\n"},
    {.name = "--position",
     .kind = OptionKind::Integer,
     .set = [](CaptureOptions& o, const OptionValue& v) { o.triggerPosition = v.integer; },
     .ranges = {kSyncPositions},
     .help = "  --position P         {0}\n"},
    {.name = "--gen1",
     .kind = OptionKind::Custom,
     .set = SetGenerator<0>,
     .ranges = {kFrequencies, kAmplitudes},
     .help = "  --gen1 WAVE,HZ,VOLTS (and --gen2) WAVE: sine cosine saw-rising saw-falling\n"
             "                       saw-symmetrical square50 square10 square90;\n"
             "                       HZ {0}, VOLTS (peak) {1}; or: --gen1 off\n"},
    {.name = "--gen2",
     .kind = OptionKind::Custom,
     .set = SetGenerator<1>,
     .ranges = {kFrequencies, kAmplitudes}},
};

bool CheckOutputs(const CaptureOptions& o, std::string& error) {
    int onStdout = 0;
    for (const std::string* path : {&o.samplesPath, &o.spectrumPath, &o.measurePath}) {
        onStdout += *path == "-" ? 1 : 0;
    }
    if (onStdout > 1) return error = "only one output can go to standard output", false;
    if (o.port.empty()) return error = "--port is missing", false;
    return true;
}

}  // namespace

std::span<const OptionRow<CaptureOptions>> CaptureOptionRows() { return kRows; }

std::optional<int> RangeIndexFor(int volts, int probeIndex) {
    for (std::size_t i = 0; i < kRanges; ++i) {
        if (kRangeVolts[i] * (probeIndex == 0 ? kX10Factor : 1) == volts)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error) {
    if (!ParseOptions(CaptureOptionRows(), argc, argv, options, error)) return false;
    if (options.help || options.version || options.listPorts) return true;
    if (options.framesGiven && options.seconds)
        return error = "--frames and --seconds exclude each other", false;
    return CheckOutputs(options, error);
}

const char* CaptureUsageLine() {
    return "usage: velmora-capture --port PORT [--frames N | --seconds S] [-o FILE] "
           "[--spectrum FILE] [--measure FILE] [--settings FILE] [--sample-rate HZ] "
           "[instrument settings] [--quiet]";
}

const char* CaptureHelp() {
    static const std::string help =
        "velmora-capture: frames of the Velmora instrument to CSV files, for scripts\n"
        "and data logging. Runs the window's own core without a window: the same\n"
        "start-up, the same commands on the wire, the same receive rules.\n"
        "\n"
        "usage: velmora-capture --port PORT [options]\n"
        "       velmora-capture --list-ports | --help | --version\n"
        "\n" +
        OptionHelp(CaptureOptionRows()) +
        R"(
Files: '#' comment lines name the version, date, port, sample rate and the
settings; ',' between fields and '.' as decimal point in every locale. With
more than one frame a first column Frame (1-based) is added.

Exit status: 0 every frame asked for arrived (with --seconds, at least one);
1 the port cannot be opened or frames stopped arriving (5 s without a frame);
2 usage error; 130 interrupted (Ctrl+C), every complete frame written.
)";
    return help.c_str();
}

}  // namespace velmora
