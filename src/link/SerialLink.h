#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/ListBox.h"
#include "controls/Memo.h"
#include "link/LinkCondition.h"
#include "system/Clock.h"
#include "system/SerialPort.h"

namespace velmora {

// A line that has carried no byte for this long is read without waiting (a
// silent port would otherwise cost every tick its reads' whole time-outs).
inline constexpr int64_t kSilentLineMicros = 2'000'000;

// CommPath before any port was tried. A settings file written by a run that
// never tried a port stores it; it names no port discovery can list.
inline constexpr const char* kUntriedPortPath = "COM5";

// The one connection to the instrument: the port list, the port last tried
// (`CommPath`) and the open port (`CommHandle`), and what became of it. Every
// outcome of opening is logged to the diagnostic log; reads and writes on a
// port that is not open fail quietly, so the rest of the program never has
// to ask. A port whose device goes away while open is closed at once and
// becomes "gone".
class SerialLink {
  public:
    SerialLink(SerialPorts& ports, Memo& display, Clock& clock);

    // Fills `PortNumbers` from a fresh discovery and the list with one entry per
    // port, and selects the last entry (none when no port was found).
    void DiscoverPorts(ListBox& comPort);
    // Rediscovers and rebuilds the list, keeping the selected port selected
    // while it is still present (matched by path), and nothing selected
    // otherwise. Does not reopen.
    void RefreshPorts(ListBox& comPort);
    // Start-up's choice of the port, after the settings file has set the
    // list's index. A stored path (the settings file's port line) selects
    // the entry with that path; when no entry has it (or the line was cut,
    // `whole` false), nothing is selected, CommPath keeps the path (its first
    // `kept` characters) and the port is awaited back. Without a stored path
    // the index is settled as any list's, but a pickedOnly port is never
    // chosen so: the last other entry is, or none.
    void ChooseStartUpPort(ListBox& comPort, const std::string& storedPath, bool whole,
                           std::size_t kept);
    // Closes whatever is open, then opens and configures the port of list
    // entry `index`. Returns true when the port ended open and configured.
    // An index that names no port closes the port and opens nothing.
    bool OpenPort(int index);

    // Once the awaited port (see IsAwaitedBack) is listed again: rebuilds the
    // list from that discovery, selects it and returns true; the caller then
    // opens it. Logs nothing.
    bool AwaitedPortListed(ListBox& comPort);

    // Reads under the instrument's timing, or, once the line has carried no
    // byte for kSilentLineMicros, without waiting until a byte comes.
    std::size_t Read(uint8_t* dst, std::size_t n);
    void Write(const uint8_t* src, std::size_t n);

    const char* CommPath() const { return commPath_.data(); }
    // The list entry's name of CommPath, or the path itself.
    std::string PortName() const;
    bool IsOpen() const { return port_ != nullptr; }
    bool OpenFailed() const { return openFailed_; }
    // The port is open and took the instrument's line settings and time-outs.
    bool Configured() const { return configured_; }
    // kFramesArriving while open (the acquisition tells more), else why not.
    LinkCondition Condition() const { return condition_; }
    // The system's words for an open that failed with kOtherError, and what
    // a port that is no serial port was found to be, where the system says.
    const std::string& OpenError() const { return openError_; }
    // When the port was last opened, and when a read last delivered.
    int64_t OpenedAt() const { return openedAt_; }
    int64_t LastByteAt() const { return lastByteAt_; }
    // Every byte read since start-up, over all opens.
    uint64_t BytesRead() const { return bytesRead_; }

  private:
    void FillList(ListBox& comPort);
    bool Configure();
    void SetCommPath(const std::string& path);
    int IndexOf(const std::string& path) const;
    bool OpenFailedWith(OpenOutcome outcome);
    void SettleNotOpen();
    void CloseIfGone();
    void TimeReads();
    void Log(const char* text) { display_.Append(text); }

    SerialPorts& ports_;
    Memo& display_;
    Clock& clock_;
    std::vector<PortEntry> portNumbers_;  // PortNumbers, at most kMaxPorts
    std::array<char, kPortPathBytes> commPath_{'C', 'O', 'M', '5'};  // CommPath
    std::unique_ptr<SerialPort> port_;  // CommHandle; null when not open
    bool openFailed_ = false;           // CommHandle holds "invalid"
    bool configured_ = false;
    LinkCondition condition_ = LinkCondition::kNoneChosen;
    std::string openError_;
    int64_t openedAt_ = 0;
    int64_t lastByteAt_ = 0;
    uint64_t bytesRead_ = 0;
    bool readsWait_ = true;  // the instrument's timing, not "what is there"
};

}  // namespace velmora
