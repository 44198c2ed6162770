#include "system/posix/PortDiscovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <utility>

#include "system/posix/PortDirectory.h"
#include "system/posix/PortLinkLock.h"

namespace velmora {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Names in a directory, without "." and "..". Empty when it cannot be read.
std::vector<std::string> DirectoryNames(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool IsSymlink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The majors of the pseudo-terminals' slave sides (UNIX98 ptys).
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

// On-board UARTs and Bluetooth serial ports: opened only when the user picks
// them (a modem or a printer's controller may sit on a UART, and an rfcomm
// open can hang while it pages the remote device).
bool PickedOnly(const std::string& name) {
    return name.rfind("ttyS", 0) == 0 || name.rfind("rfcomm", 0) == 0;
}

// The UART type the serial driver reports for a device node; -1 when it
// cannot be asked (no node, no permission, not a serial_core port).
int SerialTypeOf(const std::string& devicePath) {
    const int fd = open(devicePath.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    serial_struct info{};
    const int type = ioctl(fd, TIOCGSERIAL, &info) == 0 ? info.type : -1;
    close(fd);
    return type;
}

// Compares two digit runs by value: fewer significant digits is smaller.
int CompareNumbers(const std::string& a, std::size_t& i, const std::string& b, std::size_t& j) {
    while (i < a.size() && a[i] == '0') ++i;
    while (j < b.size() && b[j] == '0') ++j;
    const std::size_t startA = i;
    const std::size_t startB = j;
    while (i < a.size() && IsDigit(a[i])) ++i;
    while (j < b.size() && IsDigit(b[j])) ++j;
    const std::size_t lengthA = i - startA;
    const std::size_t lengthB = j - startB;
    if (lengthA != lengthB) {
        return lengthA < lengthB ? -1 : 1;
    }
    return a.compare(startA, lengthA, b, startB, lengthB);
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const int order = CompareNumbers(a, i, b, j);
            if (order != 0) {
                return order < 0;
            }
            continue;
        }
        if (a[i] != b[j]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        }
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) {
        return (a.size() - i) < (b.size() - j);
    }
    return a < b;  // equal by value ("ttyS01" and "ttyS1"): keep a total order
}

PortDiscovery::PortDiscovery(std::string sysRoot, std::string portDirectory, std::string devRoot)
    : sysRoot_(std::move(sysRoot)),
      portDirectory_(std::move(portDirectory)),
      devRoot_(std::move(devRoot)) {}

std::vector<PortEntry> PortDiscovery::List(std::vector<std::string>* notes) const {
    std::vector<PortEntry> entries;
    AddDevices(entries);
    AddLinks(entries, notes);
    return entries;
}

void PortDiscovery::AddDevices(std::vector<PortEntry>& entries) const {
    for (const std::string& name : DirectoryNames(sysRoot_ + "/class/tty")) {
        std::string path = devRoot_ + "/" + name;
        if (entries.size() >= kMaxPorts || path.size() > kMaxPortPathLength) {
            continue;
        }
        if (HasDriver(name) && HasUart(name)) {
            entries.push_back({name, std::move(path), PickedOnly(name)});
        }
    }
}

void PortDiscovery::AddLinks(std::vector<PortEntry>& entries,
                             std::vector<std::string>* notes) const {
    const std::string directory = portDirectory_.empty() ? PortDirectory() : portDirectory_;
    struct stat info {};
    if (lstat(directory.c_str(), &info) != 0) return;  // no instrument has run yet
    // The holder too: whoever controls it can swap the directory underneath.
    for (const std::string& path : {directory.substr(0, directory.rfind('/')), directory}) {
        const std::string fault = PrivateDirectoryFault(path);
        if (fault.empty()) continue;
        if (notes != nullptr)
            notes->push_back("Port directory " + directory + " skipped: " + fault);
        return;
    }
    for (const std::string& name : DirectoryNames(directory)) {
        std::string path = directory + "/" + name;
        if (entries.size() >= kMaxPorts || path.size() > kMaxPortPathLength) {
            continue;
        }
        if (IsSymlink(path) && LeadsToPort(path) && !PortLinkLock::IsStale(path)) {
            entries.push_back({name, std::move(path)});
        }
    }
}

// stat follows the link: its target is a pseudo-terminal's slave or a
// character device with a driver behind it, as the devices listed above.
bool PortDiscovery::LeadsToPort(const std::string& link) const {
    struct stat info {};
    if (stat(link.c_str(), &info) != 0 || !S_ISCHR(info.st_mode)) return false;
    const unsigned majorNumber = major(info.st_rdev);
    if (majorNumber >= kFirstPtySlaveMajor && majorNumber <= kLastPtySlaveMajor) return true;
    return Exists(sysRoot_ + "/dev/char/" + std::to_string(majorNumber) + ":" +
                  std::to_string(minor(info.st_rdev)) + "/device/driver");
}

bool PortDiscovery::HasDriver(const std::string& name) const {
    // Virtual terminals, the console and pseudo-terminals have no device.
    return Exists(sysRoot_ + "/class/tty/" + name + "/device/driver");
}

bool PortDiscovery::HasUart(const std::string& name) const {
    // The 8250 driver registers every ttyS it could have, also where the
    // machine has no UART; those report type 0 (PORT_UNKNOWN).
    if (name.rfind("ttyS", 0) != 0) {
        return true;
    }
    std::ifstream typeFile(sysRoot_ + "/class/tty/" + name + "/type");
    int type = 0;
    if (typeFile >> type) {
        return type != PORT_UNKNOWN;
    }
    return SerialTypeOf(devRoot_ + "/" + name) > PORT_UNKNOWN;
}

}  // namespace velmora
