#include "instrument/CommandLine.h"

#include <cstdint>
#include <string_view>

#include "link/FrameFormat.h"

namespace velmora {
namespace {

// Strict unsigned decimal within [0, limit].
bool ParseNumber(std::string_view text, uint64_t limit, uint64_t& value) {
    if (text.empty() || text.size() > 10) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value <= limit;
}

bool ValidLinkName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.size() <= 64 &&
           name.find('/') == std::string_view::npos;
}

class Parser {
  public:
    Parser(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}

    CommandLine::Result Run() {
        for (index_ = 1; index_ < argc_ && result_.outcome == CommandLine::Outcome::kRun;
             ++index_) {
            Option(argv_[index_]);
        }
        return result_;
    }

  private:
    void Option(std::string_view arg) {
        std::string_view value;
        bool inlineValue = false;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
            inlineValue = true;
        }
        if (Flag(arg)) {
            if (inlineValue) Fail("option " + std::string(arg) + " takes no value");
            return;
        }
        if (!inlineValue && IsValued(arg)) {
            if (index_ + 1 >= argc_) return Fail("option " + std::string(arg) + " needs a value");
            value = argv_[++index_];
        }
        Valued(arg, value);
    }

    bool Flag(std::string_view arg) {
        InstrumentOptions& o = result_.options;
        if (arg == "--help" || arg == "-h") {
            result_.outcome = CommandLine::Outcome::kHelp;
        } else if (arg == "--baud-pacing") {
            o.baudPacing = true;
        } else if (arg == "--damage-marker") {
            o.damageMarker = true;
        } else if (arg == "--silent") {
            o.silent = true;
        } else if (arg == "--flood") {
            o.flood = true;
        } else {
            return false;
        }
        return true;
    }

    static bool IsValued(std::string_view arg) {
        for (const char* name :
             {"--stray", "--short-frame", "--late", "--points", "--noise", "--seed", "--link-name",
              "--trace", "--input1", "--input2", "--dut"}) {
            if (arg == name) return true;
        }
        return false;
    }

    void Valued(std::string_view arg, std::string_view value) {
        InstrumentOptions& o = result_.options;
        if (arg == "--stray") {
            o.stray = static_cast<int>(Number(arg, value, InstrumentOptions::kMaxStray));
        } else if (arg == "--short-frame") {
            o.shortFrame = static_cast<int>(Number(arg, value, kFrameBytes));
        } else if (arg == "--late") {
            o.lateMs = static_cast<int>(Number(arg, value, InstrumentOptions::kMaxLateMs));
        } else if (arg == "--points") {
            o.points = static_cast<uint32_t>(Number(arg, value, UINT32_MAX));
        } else if (arg == "--noise") {
            o.noise = static_cast<int>(Number(arg, value, InstrumentOptions::kMaxNoise));
        } else if (arg == "--seed") {
            o.seed = static_cast<uint32_t>(Number(arg, value, UINT32_MAX));
        } else if (arg == "--link-name") {
            if (!ValidLinkName(value))
                return Fail("invalid link name '" + std::string(value) + "'");
            o.linkName = std::string(value);
        } else if (arg == "--trace") {
            if (value.empty()) return Fail("option --trace needs a file name");
            o.traceFile = std::string(value);
        } else if (arg == "--input1" || arg == "--input2") {
            Input(arg, value, o.inputs[arg == "--input1" ? 0 : 1]);
        } else if (arg == "--dut") {
            std::string error;
            if (!CircuitUnderTest::Parse(value, o.circuit, error)) Fail("option --dut " + error);
        } else {
            Fail("unknown option '" + std::string(arg) + "' (see --help)");
        }
    }

    uint64_t Number(std::string_view arg, std::string_view text, uint64_t limit) {
        uint64_t value = 0;
        if (!ParseNumber(text, limit, value)) {
            Fail("option " + std::string(arg) + " needs a whole number from 0 to " +
                 std::to_string(limit) + ", not '" + std::string(text) + "'");
            return 0;
        }
        return value;
    }

    void Input(std::string_view arg, std::string_view text, InputSignal& input) {
        std::string error;
        if (!InputSignal::Parse(text, input, error))
            Fail("option " + std::string(arg) + " " + error);
    }

    void Fail(std::string message) {
        result_.outcome = CommandLine::Outcome::kError;
        result_.error = std::move(message);
    }

    int argc_;
    const char* const* argv_;
    int index_ = 1;
    CommandLine::Result result_;
};

}  // namespace

CommandLine::Result CommandLine::Parse(int argc, const char* const* argv) {
    return Parser(argc, argv).Run();
}

std::string CommandLine::HelpText() {
    return "Usage: velmora-instrument [options]\n"
           "Plays the Velmora instrument on a pseudo-terminal. Prints the path of the\n"
           "port link it registers, then runs until interrupted (SIGINT or SIGTERM).\n"
           "\n"
           "Options:\n"
           "  --help              show this text and exit\n"
           "  --link-name NAME    name of the link in the port directory\n"
           "                      (default: the first free ttyVIRT<n>)\n"
           "  --points N          header point count in XY mode (default 2048)\n"
           "  --noise N           peak noise in counts, 0 for none (default 2)\n"
           "  --seed N            seed of the noise (default 1)\n"
           "  --baud-pacing       send replies at the pace of a 115200-baud 8N1 line\n"
           "  --late MS           answer each data request MS milliseconds late\n"
           "  --trace FILE        append each command received to FILE, one line each\n"
           "                      (z, S src pol pos level, X n, Y n, G ch wave freq ampl;\n"
           "                      ? for a fragment that is no command)\n"
           "Signals on the inputs (added to the generator wired to that channel):\n"
           "  --input1 WAVE,HZ,VOLTS[,OFFSET]\n"
           "  --input2 WAVE,HZ,VOLTS[,OFFSET]\n"
           "                      a signal on channel 1 or 2: WAVE one of sine, cosine,\n"
           "                      saw-rising, saw-falling, saw-symmetrical, square50,\n"
           "                      square10, square90; HZ up to 1000000; VOLTS the peak\n"
           "                      (0 to 100), OFFSET a DC level (-100 to 100, default 0)\n"
           "A circuit under test between generator A and channel 2's input:\n"
           "  --dut lowpass,FC[,GAIN]      first-order RC low-pass, corner FC Hz\n"
           "  --dut highpass,FC[,GAIN]     first-order RC high-pass, corner FC Hz\n"
           "  --dut bandpass,F0,Q[,GAIN]   second-order band-pass, centre F0 Hz\n"
           "                      FC and F0 from 1 to 1000000, Q from 0.1 to 1000, GAIN\n"
           "                      a linear factor from 0 to 1000 (default 1); channel 2\n"
           "                      shows the circuit's steady-state output\n"
           "Faults for reliability tests:\n"
           "  --stray N           send N stray bytes (never the marker) before each frame\n"
           "  --damage-marker     send each frame with a damaged marker\n"
           "  --short-frame N     send only the first N bytes of each frame\n"
           "  --silent            never answer a data request\n"
           "  --flood             from the first data request on, send bytes without a\n"
           "                      marker without end\n";
}

}  // namespace velmora
