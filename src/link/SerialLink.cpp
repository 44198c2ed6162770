#include "link/SerialLink.h"

#include <cstring>

namespace velmora {
namespace {

// The line the instrument speaks: 115200 baud 8N1, DTR raised, receiver flow
// control on RTS, and the classic driver limits for XON/XOFF flow control.
void ApplyInstrumentLine(LineSettings& s) {
    s.baudRate = 115200;
    s.byteSize = 8;
    s.parity = 0;
    s.stopBits = 0;
    s.dtrEnable = true;
    s.rtsHandshake = true;
    s.txContinueOnXoff = true;
    s.abortOnError = true;
    s.xonLimit = 80;
    s.xoffLimit = 200;
    s.xonChar = 0x54;
    s.xoffChar = 0xD4;
    s.errorChar = 0x26;
}

// A read returns at n bytes, after a gap of more than 1 ms between bytes, or
// after n + 1 ms in all; writes have no time-out of their own here.
constexpr PortTimeouts kInstrumentTimeouts{1, 1, 1, 0, 0};

}  // namespace

SerialLink::SerialLink(SerialPorts& ports, Memo& display) : ports_(ports), display_(display) {}

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
}

void SerialLink::RefreshPorts(ListBox& comPort) {
    const int selected = comPort.ItemIndex();
    std::string selectedPath;
    if (selected >= 0 && static_cast<std::size_t>(selected) < portNumbers_.size()) {
        selectedPath = portNumbers_[static_cast<std::size_t>(selected)].path;
    }
    DiscoverPorts(comPort);
    for (std::size_t i = 0; i < portNumbers_.size(); ++i) {
        if (!selectedPath.empty() && portNumbers_[i].path == selectedPath) {
            comPort.SetItemIndex(static_cast<int>(i));
            comPort.SetTopIndex(static_cast<int>(i));
            return;
        }
    }
    SettleListSelection(comPort);
}

bool SerialLink::OpenPort(int index) {
    port_.reset();
    openFailed_ = false;
    configured_ = false;
    if (index < 0 || static_cast<std::size_t>(index) >= portNumbers_.size()) return false;

    const std::string& path = portNumbers_[static_cast<std::size_t>(index)].path;
    commPath_.fill('\0');
    std::memcpy(commPath_.data(), path.data(), std::min(path.size(), kCommPathBytes - 1));
    Log(CommPath());

    switch (ports_.Open(CommPath(), port_)) {
        case OpenOutcome::Opened:
            break;
        case OpenOutcome::DoesNotExist:
            port_.reset();
            openFailed_ = true;
            Log(CommPath());
            Log("   does not exist");
            return false;
        case OpenOutcome::OtherError:
            port_.reset();
            openFailed_ = true;
            Log("Error opening");
            Log(CommPath());
            return false;
    }
    Log(CommPath());
    Log("   opened");
    configured_ = Configure();
    return configured_;
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

std::size_t SerialLink::Read(uint8_t* dst, std::size_t n) {
    return port_ ? port_->Read(dst, n) : 0;
}

void SerialLink::Write(const uint8_t* src, std::size_t n) {
    if (port_) port_->Write(src, n);
}

}  // namespace velmora
