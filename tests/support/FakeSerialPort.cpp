#include "support/FakeSerialPort.h"

#include <algorithm>

namespace velmora::test {

bool FakeSerialPort::GetState(LineSettings& settings) {
    if (line_->failGetState) return false;
    settings = line_->settings;
    return true;
}

bool FakeSerialPort::SetState(const LineSettings& settings) {
    if (line_->failSetState) return false;
    line_->settings = settings;
    return true;
}

bool FakeSerialPort::SetTimeouts(const PortTimeouts& timeouts) {
    if (line_->failTimeouts) return false;
    line_->timeouts = timeouts;
    return true;
}

std::size_t FakeSerialPort::Read(uint8_t* dst, std::size_t n) {
    FakeLine& line = *line_;
    ++line.reads;
    std::size_t cap = std::min(n, line.maxPerRead);
    if (!line.readSizes.empty()) {
        cap = std::min(n, line.readSizes.front());
        line.readSizes.pop_front();
    }
    std::size_t got = 0;
    if (line.gone) {
        got = 0;
    } else if (line.flood) {
        std::fill(dst, dst + cap, line.floodByte);
        got = cap;
    } else {
        got = std::min(cap, line.input.size());
        std::copy_n(line.input.begin(), got, dst);
        line.input.erase(line.input.begin(), line.input.begin() + static_cast<std::ptrdiff_t>(got));
    }
    if (got == 0) {
        ++line.emptyReads;
        const int64_t ms = int64_t{line.timeouts.readTotalMultiplier} * static_cast<int64_t>(n) +
                           line.timeouts.readTotalConstant;
        line.clock.Advance(ms * 1000);
    } else {
        line.clock.Advance(line.microsPerByte * static_cast<int64_t>(got));
    }
    if (line.onRead) line.onRead(dst, n, got);
    return got;
}

bool FakeSerialPort::Write(const uint8_t* src, std::size_t n) {
    if (line_->gone) return false;
    std::vector<uint8_t> bytes(src, src + n);
    line_->written.insert(line_->written.end(), bytes.begin(), bytes.end());
    line_->writes.push_back(bytes);
    if (line_->onWrite) line_->onWrite(bytes);
    return true;
}

std::shared_ptr<FakeLine> FakeSerialPorts::AddPort(const std::string& name,
                                                   const std::string& path) {
    entries.push_back({name, path});
    auto line = std::make_shared<FakeLine>(clock_);
    lines[path] = line;
    return line;
}

OpenOutcome FakeSerialPorts::Open(const char* path, std::unique_ptr<SerialPort>& port) {
    ++opens;
    auto it = lines.find(path);
    if (it == lines.end()) return OpenOutcome::DoesNotExist;
    if (busy[path]) return OpenOutcome::Busy;
    if (const auto refusal = refused.find(path); refusal != refused.end()) return refusal->second;
    port = std::make_unique<FakeSerialPort>(it->second);
    return OpenOutcome::Opened;
}

}  // namespace velmora::test
