#include "instrument/CommandParser.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace velmora {
namespace {

constexpr char kLead = '%';
constexpr std::size_t kSyncLength = 15;  // "%S" s p ppppp lllll CR

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A "%5d" field: spaces, an optional minus sign, at least one digit.
bool ParsePaddedInt(const char* text, std::size_t size, int& value) {
    std::size_t at = 0;
    while (at < size && text[at] == ' ') ++at;
    bool negative = false;
    if (at < size && text[at] == '-') {
        negative = true;
        ++at;
    }
    if (at == size) return false;
    long result = 0;
    for (; at < size; ++at) {
        if (!IsDigit(text[at])) return false;
        result = result * 10 + (text[at] - '0');
    }
    value = static_cast<int>(negative ? -result : result);
    return true;
}

std::size_t SkipDigits(const char* text, std::size_t at, std::size_t end) {
    while (at < end && IsDigit(text[at])) ++at;
    return at;
}

// Plain decimal number: sign, digits, optional fraction and exponent. Rejects
// what strtod would also take (nan, inf, hexadecimal, leading blanks).
bool ParseDecimal(const char* text, std::size_t size, double& value) {
    std::size_t at = 0;
    if (at < size && (text[at] == '+' || text[at] == '-')) ++at;
    const std::size_t integerEnd = SkipDigits(text, at, size);
    std::size_t digits = integerEnd - at;
    at = integerEnd;
    if (at < size && text[at] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, at + 1, size);
        digits += fractionEnd - (at + 1);
        at = fractionEnd;
    }
    if (digits == 0) return false;
    if (at < size && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < size && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        const std::size_t exponentEnd = SkipDigits(text, exponent, size);
        if (exponentEnd == exponent) return false;
        at = exponentEnd;
    }
    if (at != size) return false;
    char copy[CommandParser::kMaxCommandBytes + 1];
    std::memcpy(copy, text, size);
    copy[size] = '\0';
    value = std::strtod(copy, nullptr);
    return std::isfinite(value);
}

}  // namespace

void CommandParser::Feed(const uint8_t* data, std::size_t size, CommandSink& sink) {
    for (std::size_t i = 0; i < size; ++i) FeedByte(data[i], sink);
}

void CommandParser::Idle(CommandSink& sink) {
    if (!AwaitingIdle()) return;
    Command command;
    if (ParseGenerator(command)) {
        Finish(command, sink);
    } else {
        Skip(sink);
    }
}

bool CommandParser::AwaitingIdle() const {
    return mode_ == Mode::kCommand && length_ >= 2 && buffer_[1] == 'G';
}

void CommandParser::FeedByte(uint8_t byte, CommandSink& sink) {
    const char c = static_cast<char>(byte);
    if (c == kLead) {
        // A '%' ends a generator command; any other unfinished command is broken.
        if (AwaitingIdle()) {
            Idle(sink);
        } else if (mode_ == Mode::kCommand) {
            Skip(sink);
        }
        StartCommand();
        return;
    }
    if (mode_ == Mode::kSkipping) {
        if (!junkPending_) sink.OnRejected();
        junkPending_ = true;
        return;
    }
    buffer_[length_++] = c;
    Command command;
    switch (Examine(command)) {
        case Step::kComplete:
            Finish(command, sink);
            break;
        case Step::kInvalid:
            Skip(sink);
            break;
        case Step::kNeedMore:
            if (length_ == buffer_.size()) Skip(sink);
            break;
    }
}

void CommandParser::StartCommand() {
    mode_ = Mode::kCommand;
    junkPending_ = false;
    buffer_[0] = kLead;
    length_ = 1;
}

void CommandParser::Skip(CommandSink& sink) {
    sink.OnRejected();
    mode_ = Mode::kSkipping;
    junkPending_ = true;  // the rest of this fragment is already accounted for
    length_ = 0;
}

void CommandParser::Finish(const Command& command, CommandSink& sink) {
    mode_ = Mode::kSkipping;
    junkPending_ = false;
    length_ = 0;
    sink.OnCommand(command);
}

CommandParser::Step CommandParser::Examine(Command& command) const {
    if (length_ < 2) return Step::kNeedMore;
    switch (buffer_[1]) {
        case 'z':
            command.kind = Command::Kind::kDataRequest;
            return ExamineDataRequest();
        case 'S':
            return ExamineSync(command);
        case 'X':
        case 'Y':
            return ExamineRange(command);
        case 'G':
            return Step::kNeedMore;  // ends at the next '%' or when idle
        default:
            return Step::kInvalid;
    }
}

CommandParser::Step CommandParser::ExamineDataRequest() const {
    static constexpr char kRequest[] = "%z\r\n";
    if (buffer_[length_ - 1] != kRequest[length_ - 1]) return Step::kInvalid;
    return length_ == 4 ? Step::kComplete : Step::kNeedMore;
}

CommandParser::Step CommandParser::ExamineSync(Command& command) const {
    const char last = buffer_[length_ - 1];
    if (length_ < kSyncLength) return last == '\r' ? Step::kInvalid : Step::kNeedMore;
    if (last != '\r') return Step::kInvalid;
    const char source = buffer_[2];
    const char polarity = buffer_[3];
    if ((source != '0' && source != '1') || (polarity != '0' && polarity != '1')) {
        return Step::kInvalid;
    }
    command.kind = Command::Kind::kSync;
    command.source = source - '0';
    command.polarity = polarity - '0';
    if (!ParsePaddedInt(&buffer_[4], 5, command.position) ||
        !ParsePaddedInt(&buffer_[9], 5, command.level)) {
        return Step::kInvalid;
    }
    const bool inRange = command.position >= 0 && command.position <= 2048 &&
                         command.level >= -2000 && command.level <= 2000;
    return inRange ? Step::kComplete : Step::kInvalid;
}

CommandParser::Step CommandParser::ExamineRange(Command& command) const {
    // Exactly one digit, 0..7, then CR.
    if (length_ == 2) return Step::kNeedMore;
    if (length_ == 3) {
        return buffer_[2] >= '0' && buffer_[2] <= '7' ? Step::kNeedMore : Step::kInvalid;
    }
    if (buffer_[3] != '\r') return Step::kInvalid;
    const int range = buffer_[2] - '0';
    command.kind = buffer_[1] == 'X' ? Command::Kind::kRange1 : Command::Kind::kRange2;
    command.range = range;
    return Step::kComplete;
}

// "%G" channel waveform frequency "," amplitude, all of the buffer.
bool CommandParser::ParseGenerator(Command& command) const {
    if (length_ < 7 || (buffer_[2] != '0' && buffer_[2] != '1')) return false;
    const char* numbers = &buffer_[4];
    const std::size_t size = length_ - 4;
    const void* comma = std::memchr(numbers, ',', size);
    if (comma == nullptr) return false;
    const std::size_t split = static_cast<std::size_t>(static_cast<const char*>(comma) - numbers);
    command.kind = Command::Kind::kGenerator;
    command.channel = buffer_[2] - '0';
    command.waveform = buffer_[3];
    return ParseDecimal(numbers, split, command.frequency) &&
           ParseDecimal(numbers + split + 1, size - split - 1, command.amplitude);
}

}  // namespace velmora
