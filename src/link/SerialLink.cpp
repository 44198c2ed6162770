#include "link/SerialLink.h"

#include <cstring>

#include "link/InstrumentLine.h"

namespace velmora {
namespace {

LinkCondition ConditionOf(OpenOutcome outcome) {
    switch (outcome) {
        case OpenOutcome::DoesNotExist:
            return LinkCondition::kDoesNotExist;
        case OpenOutcome::PermissionDenied:
            return LinkCondition::kPermissionDenied;
        case OpenOutcome::Busy:
            return LinkCondition::kBusy;
        case OpenOutcome::NotSerialPort:
            return LinkCondition::kNotSerialPort;
        case OpenOutcome::Opened:
            return LinkCondition::kFramesArriving;
        case OpenOutcome::OtherError:
            break;
    }
    return LinkCondition::kOtherError;
}

}  // namespace

SerialLink::SerialLink(SerialPorts& ports, Memo& display, Clock& clock)
    : ports_(ports), display_(display), clock_(clock) {}

void SerialLink::FillList(ListBox& comPort) {
    comPort.Clear();
    for (const PortEntry& entry : portNumbers_) comPort.Add(entry.name);
    comPort.SetItemIndex(static_cast<int>(portNumbers_.size()) - 1);
}

void SerialLink::DiscoverPorts(ListBox& comPort) {
    portNumbers_ = ports_.Discover();
    for (const std::string& note : ports_.DiscoveryNotes()) Log(note.c_str());
    if (portNumbers_.size() > kMaxPorts) portNumbers_.resize(kMaxPorts);
    FillList(comPort);
    SettleNotOpen();
}

void SerialLink::RefreshPorts(ListBox& comPort) {
    const int selected = comPort.ItemIndex();
    std::string selectedPath;
    if (selected >= 0 && static_cast<std::size_t>(selected) < portNumbers_.size()) {
        selectedPath = portNumbers_[static_cast<std::size_t>(selected)].path;
    }
    DiscoverPorts(comPort);
    const int index = selectedPath.empty() ? -1 : IndexOf(selectedPath);
    comPort.SetItemIndex(index);
    if (index >= 0) SettleListSelection(comPort);
}

void SerialLink::ChooseStartUpPort(ListBox& comPort, const std::string& storedPath, bool whole,
                                   std::size_t kept) {
    if (!storedPath.empty() && storedPath != kUntriedPortPath) {
        const int index = whole ? IndexOf(storedPath) : -1;
        comPort.SetItemIndex(index);
        if (index >= 0) {
            SettleListSelection(comPort);
            return;
        }
        SetCommPath(storedPath.substr(0, kept));
        condition_ = LinkCondition::kPathAbsent;
        return;
    }
    SettleListSelection(comPort);
    int index = comPort.ItemIndex();
    if (index < 0 || !portNumbers_[static_cast<std::size_t>(index)].pickedOnly) return;
    for (index = static_cast<int>(portNumbers_.size()) - 1; index >= 0; --index) {
        if (!portNumbers_[static_cast<std::size_t>(index)].pickedOnly) break;
    }
    comPort.SetItemIndex(index);
    if (index >= 0) SettleListSelection(comPort);
}

bool SerialLink::OpenPort(int index) {
    port_.reset();
    openFailed_ = false;
    configured_ = false;
    if (index < 0 || static_cast<std::size_t>(index) >= portNumbers_.size()) {
        SettleNotOpen();
        return false;
    }
    SetCommPath(portNumbers_[static_cast<std::size_t>(index)].path);
    Log(CommPath());

    const OpenOutcome outcome = ports_.Open(CommPath(), port_);
    if (outcome != OpenOutcome::Opened) return OpenFailedWith(outcome);
    Log(CommPath());
    Log("   opened");
    condition_ = LinkCondition::kFramesArriving;
    openedAt_ = lastByteAt_ = clock_.NowMicros();
    readsWait_ = true;
    configured_ = Configure();
    return configured_;
}

bool SerialLink::OpenFailedWith(OpenOutcome outcome) {
    port_.reset();
    openFailed_ = true;
    condition_ = ConditionOf(outcome);
    openError_ = outcome == OpenOutcome::OtherError || outcome == OpenOutcome::NotSerialPort
                     ? ports_.LastOpenError()
                     : std::string();
    if (outcome == OpenOutcome::DoesNotExist) {
        Log(CommPath());
        Log("   does not exist");
    } else {
        Log("Error opening");
        Log(CommPath());
    }
    return false;
}

// Nothing is open and nothing is awaited: either there is no port, or the
// user has not chosen one.
void SerialLink::SettleNotOpen() {
    if (port_ != nullptr || IsAwaitedBack(condition_)) return;
    if (condition_ != LinkCondition::kNoPorts && condition_ != LinkCondition::kNoneChosen) return;
    condition_ = portNumbers_.empty() ? LinkCondition::kNoPorts : LinkCondition::kNoneChosen;
}

bool SerialLink::Configure() {
    LineSettings settings;
    if (!port_->GetState(settings)) {
        Log("Error getting state of");
        Log(CommPath());
        return false;
    }
    port_->ClearError();
    ApplyInstrumentLine(settings);
    port_->ClearError();
    if (!port_->SetState(settings)) {
        Log("Error setting state of");
        Log(CommPath());
        return false;
    }
    if (!port_->SetTimeouts(kInstrumentTimeouts)) {
        Log("Error setting timeouts for");
        Log(CommPath());
        return false;
    }
    Log(CommPath());
    Log("   configured");
    return true;
}

bool SerialLink::AwaitedPortListed(ListBox& comPort) {
    if (port_ != nullptr || !IsAwaitedBack(condition_)) return false;
    std::vector<PortEntry> found = ports_.Discover();
    if (found.size() > kMaxPorts) found.resize(kMaxPorts);
    const std::string path = CommPath();
    int index = -1;
    for (std::size_t i = 0; i < found.size() && index < 0; ++i) {
        if (found[i].path == path) index = static_cast<int>(i);
    }
    if (index < 0) return false;
    portNumbers_ = std::move(found);
    FillList(comPort);
    comPort.SetItemIndex(index);
    SettleListSelection(comPort);
    return true;
}

std::size_t SerialLink::Read(uint8_t* dst, std::size_t n) {
    if (!port_) return 0;
    TimeReads();
    const std::size_t got = port_->Read(dst, n);
    bytesRead_ += got;
    if (got > 0) {
        lastByteAt_ = clock_.NowMicros();
        if (!readsWait_) {
            readsWait_ = true;
            port_->SetTimeouts(kInstrumentTimeouts);
        }
    }
    CloseIfGone();
    return got;
}

void SerialLink::Write(const uint8_t* src, std::size_t n) {
    if (!port_) return;
    port_->Write(src, n);
    CloseIfGone();
}

// A silent line is read for what is there; the first byte brings the
// instrument's timing back (Read).
void SerialLink::TimeReads() {
    if (!readsWait_ || !configured_) return;
    if (clock_.NowMicros() - lastByteAt_ < kSilentLineMicros) return;
    readsWait_ = false;
    port_->SetTimeouts(kReturnAtOnceTimeouts);
}

void SerialLink::CloseIfGone() {
    if (!port_ || !port_->Gone()) return;
    port_.reset();
    configured_ = false;
    condition_ = LinkCondition::kGone;
}

std::string SerialLink::PortName() const {
    const int index = IndexOf(CommPath());
    return index >= 0 ? portNumbers_[static_cast<std::size_t>(index)].name : CommPath();
}

void SerialLink::SetCommPath(const std::string& path) {
    commPath_.fill('\0');
    std::memcpy(commPath_.data(), path.data(), std::min(path.size(), kMaxPortPathLength));
}

int SerialLink::IndexOf(const std::string& path) const {
    for (std::size_t i = 0; i < portNumbers_.size(); ++i) {
        if (portNumbers_[i].path == path) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace velmora
