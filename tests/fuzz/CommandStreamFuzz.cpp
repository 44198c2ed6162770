// The virtual instrument's command parser against any byte stream, cut into
// pieces anywhere and with the line going idle at chosen points. Fed whole
// between the idle points, piece by piece, or byte by byte, it must report
// the same commands and rejections and reach the same instrument state; and
// the commands must be exactly those a reference reading of the stream finds
// (each command starts at a '%'; the generator command ends at the next '%'
// or when the line goes idle). A command after any stream is understood.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "PlainDecimal.h"
#include "instrument/CommandParser.h"
#include "instrument/InstrumentState.h"

namespace velmora {
namespace {

using fuzz::Require;

struct Recorder : CommandSink {
    std::vector<Command> commands;
    int rejected = 0;
    InstrumentState state;
    void OnCommand(const Command& command) override {
        commands.push_back(command);
        state.Apply(command);
    }
    void OnRejected() override { ++rejected; }
};

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool Same(const Command& a, const Command& b) {
    return a.kind == b.kind && a.source == b.source && a.polarity == b.polarity &&
           a.position == b.position && a.level == b.level && a.range == b.range &&
           a.channel == b.channel && a.waveform == b.waveform &&
           SameDouble(a.frequency, b.frequency) && SameDouble(a.amplitude, b.amplitude);
}

bool SameCommands(const std::vector<Command>& a, const std::vector<Command>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!Same(a[i], b[i])) return false;
    }
    return true;
}

// A "%5d" field: blanks, an optional minus, then digits only.
std::optional<int> PaddedField(const std::string& field) {
    std::size_t at = field.find_first_not_of(' ');
    if (at == std::string::npos) return std::nullopt;
    const bool negative = field[at] == '-';
    if (negative) ++at;
    if (at == field.size() || field.find_first_not_of("0123456789", at) != std::string::npos) {
        return std::nullopt;
    }
    const int value = std::atoi(field.c_str() + at);
    return negative ? -value : value;
}

std::optional<double> Number(const std::string& text) {
    if (!fuzz::IsPlainDecimal(text)) return std::nullopt;
    const double value = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<Command> Sync(const std::string& f) {
    if (f.size() < 15 || f[14] != '\r' || f.find('\r') != 14) return std::nullopt;
    Command c;
    c.kind = Command::Kind::kSync;
    if ((f[2] != '0' && f[2] != '1') || (f[3] != '0' && f[3] != '1')) return std::nullopt;
    c.source = f[2] - '0';
    c.polarity = f[3] - '0';
    const auto position = PaddedField(f.substr(4, 5)), level = PaddedField(f.substr(9, 5));
    if (!position || !level || *position < 0 || *position > 2048 || *level < -2000 ||
        *level > 2000) {
        return std::nullopt;
    }
    c.position = *position;
    c.level = *level;
    return c;
}

// The generator fragment as it stood when it ended; the parser holds 63
// bytes of it at most.
std::optional<Command> Generator(const std::string& f) {
    if (f.size() < 7 || f.size() >= CommandParser::kMaxCommandBytes) return std::nullopt;
    if (f[2] != '0' && f[2] != '1') return std::nullopt;
    const std::size_t comma = f.find(',', 4);
    if (comma == std::string::npos) return std::nullopt;
    const auto frequency = Number(f.substr(4, comma - 4)), amplitude = Number(f.substr(comma + 1));
    if (!frequency || !amplitude) return std::nullopt;
    Command c;
    c.kind = Command::Kind::kGenerator;
    c.channel = f[2] - '0';
    c.waveform = f[3];
    c.frequency = *frequency;
    c.amplitude = *amplitude;
    return c;
}

// A fragment of a terminated command: from its '%' to just before the next.
std::optional<Command> Terminated(const std::string& f) {
    if (f.size() < 2) return std::nullopt;
    Command c;
    switch (f[1]) {
        case 'z':
            if (f.compare(0, 4, "%z\r\n") != 0) return std::nullopt;
            c.kind = Command::Kind::kDataRequest;
            return c;
        case 'S':
            return Sync(f);
        case 'X':
        case 'Y':
            if (f.size() < 4 || f[2] < '0' || f[2] > '7' || f[3] != '\r') return std::nullopt;
            c.kind = f[1] == 'X' ? Command::Kind::kRange1 : Command::Kind::kRange2;
            c.range = f[2] - '0';
            return c;
        default:
            return std::nullopt;
    }
}

// The stream with the idle points marked: idle[i] means the line went idle
// after byte i - 1 (idle[0]: before any byte).
std::vector<Command> Reference(const std::string& stream, const std::vector<bool>& idle) {
    std::vector<Command> out;
    std::size_t at = stream.find('%');
    while (at != std::string::npos) {
        const std::size_t next = stream.find('%', at + 1);
        const std::size_t end = next == std::string::npos ? stream.size() : next;
        std::optional<Command> command;
        if (at + 1 < stream.size() && stream[at + 1] == 'G') {
            std::size_t stop = at + 2;
            while (stop < end && !idle[stop]) ++stop;
            // At the end of the stream without an idle point it is still open.
            if (stop < end || next != std::string::npos || idle[end]) {
                command = Generator(stream.substr(at, stop - at));
            }
        } else {
            command = Terminated(stream.substr(at, end - at));
        }
        if (command) out.push_back(*command);
        at = next;
    }
    return out;
}

struct Piece {
    std::string bytes;
    bool idleAfter = false;
};

void Feed(CommandParser& parser, const std::string& bytes, Recorder& sink) {
    parser.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), sink);
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace velmora;
    FuzzedDataProvider in(data, size);
    std::vector<Piece> pieces;
    while (in.remaining_bytes() > 0) {
        const auto length = in.ConsumeIntegralInRange<std::size_t>(0, 80);
        const bool idle = in.ConsumeBool();
        pieces.push_back({in.ConsumeBytesAsString(length), idle});
    }
    pieces.push_back({"%X5\r", false});  // understood after whatever came before

    CommandParser whole, split, bytewise;
    Recorder wholeSink, splitSink, bytewiseSink;
    std::string stream, run;
    std::vector<bool> idle(1, false);
    for (const Piece& piece : pieces) {
        stream += piece.bytes;
        run += piece.bytes;
        idle.resize(stream.size() + 1, false);
        Feed(split, piece.bytes, splitSink);
        for (const char c : piece.bytes) Feed(bytewise, std::string(1, c), bytewiseSink);
        if (!piece.idleAfter) continue;
        Feed(whole, run, wholeSink);
        run.clear();
        idle[stream.size()] = true;
        whole.Idle(wholeSink);
        split.Idle(splitSink);
        bytewise.Idle(bytewiseSink);
    }
    Feed(whole, run, wholeSink);

    for (const Recorder* other : {&splitSink, &bytewiseSink}) {
        Require(SameCommands(other->commands, wholeSink.commands) &&
                    other->rejected == wholeSink.rejected,
                "the same commands and rejections however the stream is cut");
        Require(std::memcmp(&other->state.counters, &wholeSink.state.counters,
                            sizeof other->state.counters) == 0 &&
                    other->state.range == wholeSink.state.range &&
                    other->state.syncLevel == wholeSink.state.syncLevel &&
                    other->state.syncPosition == wholeSink.state.syncPosition,
                "the same instrument state however the stream is cut");
    }
    Require(split.AwaitingIdle() == whole.AwaitingIdle() &&
                bytewise.AwaitingIdle() == whole.AwaitingIdle(),
            "the same open command however the stream is cut");
    Require(SameCommands(wholeSink.commands, Reference(stream, idle)),
            "exactly the commands the stream holds");
    const Command& last = wholeSink.commands.back();
    Require(last.kind == Command::Kind::kRange1 && last.range == 5,
            "a command after any stream is understood");
    return 0;
}
