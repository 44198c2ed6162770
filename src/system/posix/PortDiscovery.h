#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "system/SerialPort.h"

namespace velmora {

// Finds the serial ports to offer in the port list, in list order:
//  1. terminal devices under <sysRoot>/class/tty with a device driver behind
//     them (<name>/device/driver exists); a ttyS entry is kept only when a
//     UART is really there (its sysfs "type" is not 0, or, without that file,
//     TIOCGSERIAL reports a type other than PORT_UNKNOWN). Entry name: the
//     device name ("ttyACM0"); path: <devRoot>/<name>. On-board UARTs
//     (ttyS*) and Bluetooth ports (rfcomm*) are marked pickedOnly.
//  2. every symbolic link in the port directory whose target is a
//     pseudo-terminal's slave side or a character device with a driver
//     (<sysRoot>/dev/char/<major>:<minor>/device/driver), unless its lock
//     file says it is stale (PortLinkLock). Entry name: the link's name;
//     path: the link's full path. The directory is read only when it and the
//     directory that holds it pass PrivateDirectoryFault; otherwise it is
//     skipped with a note saying why.
// Each group is sorted in natural order (digit runs compare as numbers, so
// ttyUSB2 comes before ttyUSB10). Entries whose path would not fit the
// application's 80-byte path buffer are left out, and the list stops at
// kMaxPorts entries. Missing directories give no entries, never an error.
class PortDiscovery {
  public:
    explicit PortDiscovery(std::string sysRoot = "/sys", std::string portDirectory = "",
                           std::string devRoot = "/dev");

    // Looks at the system now. Allocates; for start-up and refresh only.
    // `notes` (when given) receives one line for each place that was skipped.
    std::vector<PortEntry> List(std::vector<std::string>* notes = nullptr) const;

  private:
    void AddDevices(std::vector<PortEntry>& entries) const;
    void AddLinks(std::vector<PortEntry>& entries, std::vector<std::string>* notes) const;
    bool LeadsToPort(const std::string& link) const;
    bool HasDriver(const std::string& name) const;
    bool HasUart(const std::string& name) const;

    std::string sysRoot_;
    std::string portDirectory_;  // empty: the per-user PortDirectory() at List time
    std::string devRoot_;
};

// Natural order of names: runs of digits compare by value, the rest by byte.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace velmora
