#include "instrument/CommandTrace.h"

namespace velmora {

CommandTrace::~CommandTrace() {
    if (file_ != nullptr) std::fclose(file_);
}

bool CommandTrace::Open(const std::string& path) {
    if (path.empty()) return true;
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

std::string CommandTrace::Text(const Command& c) {
    char text[128];
    switch (c.kind) {
        case Command::Kind::kDataRequest:
            return "z";
        case Command::Kind::kSync:
            std::snprintf(text, sizeof text, "S %d %d %d %d", c.source, c.polarity, c.position,
                          c.level);
            return text;
        case Command::Kind::kRange1:
        case Command::Kind::kRange2:
            std::snprintf(text, sizeof text, "%c %d", c.kind == Command::Kind::kRange1 ? 'X' : 'Y',
                          c.range);
            return text;
        case Command::Kind::kGenerator:
            std::snprintf(text, sizeof text, "G %d %c %g %g", c.channel, c.waveform, c.frequency,
                          c.amplitude);
            return text;
    }
    return "?";
}

void CommandTrace::Write(const Command& command) { Line(Text(command)); }

void CommandTrace::WriteRejected() { Line("?"); }

void CommandTrace::Line(const std::string& text) {
    if (file_ == nullptr) return;
    std::fprintf(file_, "%s\n", text.c_str());
    std::fflush(file_);
}

}  // namespace velmora
