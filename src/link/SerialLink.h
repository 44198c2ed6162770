#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "controls/ListBox.h"
#include "controls/Memo.h"
#include "system/SerialPort.h"

namespace velmora {


// The one connection to the instrument: the port list, the port last tried
// (`CommPath`) and the open port (`CommHandle`). Every outcome of opening is
// logged to the diagnostic log; reads and writes on a port that is not open
// fail quietly, so the rest of the program never has to ask.
class SerialLink {
  public:
    SerialLink(SerialPorts& ports, Memo& display);

    // Fills `PortNumbers` from a fresh discovery and the list with one entry per
    // port, and selects the last entry (none when no port was found).
    void DiscoverPorts(ListBox& comPort);
    // Rediscovers and rebuilds the list, keeping the selected port selected
    // while it is still present (matched by path). Does not reopen.
    void RefreshPorts(ListBox& comPort);
    // Closes whatever is open, then opens and configures the port of list
    // entry `index`. Returns true when the port ended open and configured.
    // An index that names no port closes the port and opens nothing.
    bool OpenPort(int index);

    std::size_t Read(uint8_t* dst, std::size_t n);
    void Write(const uint8_t* src, std::size_t n);

    const char* CommPath() const { return commPath_.data(); }
    bool IsOpen() const { return port_ != nullptr; }
    bool OpenFailed() const { return openFailed_; }
    // The port is open and took the instrument's line settings and time-outs.
    bool Configured() const { return configured_; }

  private:
    void FillList(ListBox& comPort);
    bool Configure();
    void Log(const char* text) { display_.Append(text); }

    SerialPorts& ports_;
    Memo& display_;
    std::vector<PortEntry> portNumbers_;  // PortNumbers, at most kMaxPorts
    std::array<char, kPortPathBytes> commPath_{'C', 'O', 'M', '5'};  // CommPath
    std::unique_ptr<SerialPort> port_;  // CommHandle; null when not open
    bool openFailed_ = false;           // CommHandle holds "invalid"
    bool configured_ = false;
};

}  // namespace velmora
