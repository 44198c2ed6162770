#include "cli/CaptureOptions.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "generator/ParseFloatText.h"
#include "link/WaveformNames.h"

namespace velmora {
namespace {

constexpr int kRangeVolts[8] = {24, 20, 16, 12, 8, 4, 2, 1};  // x1; x10 is ten times
constexpr double kMaxFrequency = 1000000;
constexpr double kMinFrequency = 0.25;
constexpr double kMaxAmplitude = 3.3;

bool Integer(std::string_view text, int lo, int hi, int& value) {
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    return r.ec == std::errc() && r.ptr == end && value >= lo && value <= hi;
}

// A plain decimal number, as the generator's boxes take it.
bool Number(std::string_view text, double& value) {
    try {
        value = ParseFloatText(text);
        return std::isfinite(value);
    } catch (...) {
        return false;
    }
}

bool Text(std::string_view value, std::string& into) {
    into = value;
    return !value.empty();
}

std::optional<int> Choice(std::string_view text, const char* first, const char* second) {
    if (text == first) return 0;
    if (text == second) return 1;
    return std::nullopt;
}

bool Generator(std::string_view text, GeneratorSetting& g, std::string& error) {
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
    double hz = 0, volts = 0;
    if (!Number(g.frequency, hz) || hz < kMinFrequency || hz > kMaxFrequency) {
        error = "frequency '" + g.frequency + "' is not a number of 0.25 to 1000000 Hz";
        return false;
    }
    if (!Number(g.amplitude, volts) || volts < 0 || volts > kMaxAmplitude) {
        error = "amplitude '" + g.amplitude + "' is not a number of 0 to 3.3 V";
        return false;
    }
    return true;
}

// One option and its value; false with the reason on a bad value.
bool Apply(std::string_view name, std::string_view value, CaptureOptions& o, std::string& error) {
    const std::string bad = "bad value '" + std::string(value) + "' for " + std::string(name);
    auto fail = [&] { return error = bad, false; };
    int n = 0;
    double d = 0;
    if (name == "--port") return Text(value, o.port) || fail();
    if (name == "--frames") return Integer(value, 1, 1000000000, o.frames) || fail();
    if (name == "--seconds") {
        if (!Number(value, d) || d <= 0 || d > 1e7) return fail();
        return o.seconds = d, true;
    }
    if (name == "-o") return Text(value, o.samplesPath) || fail();
    if (name == "--spectrum") return Text(value, o.spectrumPath) || fail();
    if (name == "--measure") return Text(value, o.measurePath) || fail();
    if (name == "--settings") return Text(value, o.settingsPath) || fail();
    if (name == "--sample-rate") {
        if (!Number(value, d) || d <= 0 || d > 1e12) return fail();
        return o.sampleRate = d, true;
    }
    if (name == "--sweep") return (o.sweep = Choice(value, "xy", "time")).has_value() || fail();
    if (name == "--trigger") {
        return (o.triggerSource = Choice(value, "ch1", "ch2")).has_value() || fail();
    }
    if (name == "--slope") {
        return (o.triggerSlope = Choice(value, "rise", "fall")).has_value() || fail();
    }
    if (name == "--level")
        return Integer(value, -2000, 2000, n) ? (o.triggerLevel = n, true) : fail();
    if (name == "--position") {
        return Integer(value, 0, 2048, n) ? (o.triggerPosition = n, true) : fail();
    }
    for (std::size_t ch = 0; ch < 2; ++ch) {
        const std::string prefix = "--ch" + std::to_string(ch + 1);
        if (name == prefix + "-probe") {
            return (o.probe[ch] = Choice(value, "x10", "x1")).has_value() || fail();
        }
        if (name == prefix + "-range") {
            return Integer(value, 1, 240, n) ? (o.range[ch] = RangeRequest{n}, true) : fail();
        }
        if (name == "--gen" + std::to_string(ch + 1)) {
            GeneratorSetting g;
            if (!Generator(value, g, error)) return false;
            return o.generator[ch] = g, true;
        }
    }
    error = "unknown option " + std::string(name);
    return false;
}

bool TakesNoValue(std::string_view name, CaptureOptions& o) {
    if (name == "--help" || name == "-h") return o.help = true;
    if (name == "--version") return o.version = true;
    if (name == "--list-ports") return o.listPorts = true;
    if (name == "--quiet" || name == "-q") return o.quiet = true;
    return false;
}

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

std::optional<int> RangeIndexFor(int volts, int probeIndex) {
    for (int i = 0; i < 8; ++i) {
        if (kRangeVolts[i] * (probeIndex == 0 ? 10 : 1) == volts) return i;
    }
    return std::nullopt;
}

bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error) {
    bool framesGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (TakesNoValue(arg, options)) continue;
        std::string_view value;
        if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != arg.npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        } else if (i + 1 < argc && std::string_view(argv[i + 1]).rfind("--", 0) != 0) {
            value = argv[++i];
        } else {
            error = "unknown option or missing value: " + std::string(arg);
            return false;
        }
        framesGiven |= arg == "--frames";
        if (!Apply(arg, value, options, error)) return false;
    }
    if (options.help || options.version || options.listPorts) return true;
    if (framesGiven && options.seconds)
        return error = "--frames and --seconds exclude each other", false;
    return CheckOutputs(options, error);
}

const char* CaptureUsageLine() {
    return "usage: velmora-capture --port PORT [--frames N | --seconds S] [-o FILE] "
           "[--spectrum FILE] [--measure FILE] [--settings FILE] [--sample-rate HZ] "
           "[instrument settings] [--quiet]";
}

const char* CaptureHelp() {
    return R"(velmora-capture: frames of the Velmora instrument to CSV files, for scripts
and data logging. Runs the window's own core without a window: the same
start-up, the same commands on the wire, the same receive rules.

usage: velmora-capture --port PORT [options]
       velmora-capture --list-ports | --help | --version

  --port PORT          a name from --list-ports (ttyACM0, ttyVIRT0, COM5) or a
                       path (/dev/ttyACM0, \\.\COM5)
  --frames N           capture N frames (default 1)
  --seconds S          capture every frame that arrives in S seconds
  -o FILE              the samples: Time (s),CH1 (V),CH2 (V), 2048 rows a frame
                       (standard output when no output is named; - is standard
                       output)
  --spectrum FILE      the spectrum: Frequency (Hz),CH1 (V),CH2 (V), 1024 rows
  --measure FILE       one row of measurements a frame
  --settings FILE      start from a Config.Ini the window wrote (read only)
  --sample-rate HZ     the instrument's sample rate (default 102400)
  --quiet              no progress on standard error
  --list-ports         print the ports as the window lists them: NAME PATH

Instrument settings (applied after the settings file, as a user's clicks):
  --sweep time|xy
  --ch1-probe x1|x10   --ch1-range V     (and --ch2-...) V: 1 2 4 8 12 16 20 24,
                                         ten times that with a x10 probe
  --trigger ch1|ch2    --slope rise|fall
  --level COUNTS       -2000..2000, as the sync level bar sends it
  --position P         0..2048
  --gen1 WAVE,HZ,VOLTS (and --gen2) WAVE: sine cosine saw-rising saw-falling
                       saw-symmetrical square50 square10 square90;
                       HZ 0.25..1000000, VOLTS (peak) 0..3.3; or: --gen1 off

Files: '#' comment lines name the version, date, port, sample rate and the
settings; ',' between fields and '.' as decimal point in every locale. With
more than one frame a first column Frame (1-based) is added.

Exit status: 0 every frame asked for arrived (with --seconds, at least one);
1 the port cannot be opened or frames stopped arriving (5 s without a frame);
2 usage error; 130 interrupted (Ctrl+C), every complete frame written.
)";
}

}  // namespace velmora
