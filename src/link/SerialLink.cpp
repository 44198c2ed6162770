#include "link/SerialLink.h"

#include <cstring>

#include "link/InstrumentLine.h"

namespace velmora {
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
    std::memcpy(commPath_.data(), path.data(), std::min(path.size(), kMaxPortPathLength));
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
