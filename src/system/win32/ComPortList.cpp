#include "system/win32/ComPortList.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace velmora {
namespace {

bool IsLetter(char c, char upper) { return c == upper || c == upper - 'A' + 'a'; }

PortEntry EntryFor(uint32_t number) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "COM%lu", static_cast<unsigned long>(number));
    PortEntry entry;
    entry.name = text.data();
    entry.path = std::string("\\\\.\\") + entry.name;
    return entry;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// `prefix` and then one or more decimal digits, nothing else.
bool NumberedName(std::string_view text, std::string_view prefix) {
    if (!StartsWith(text, prefix) || text.size() == prefix.size()) return false;
    for (const char c : text.substr(prefix.size())) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

bool PickedOnlyDevice(std::string_view device, std::string_view wineTarget) {
    if (!wineTarget.empty()) return NumberedName(wineTarget, "/dev/ttyS");
    return NumberedName(device, "\\Device\\Serial") || NumberedName(device, "\\Device\\BthModem");
}

std::optional<uint32_t> ComPortNumber(std::string_view name) {
    if (name.size() < 4 || !IsLetter(name[0], 'C') || !IsLetter(name[1], 'O') ||
        !IsLetter(name[2], 'M')) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char c : name.substr(3)) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    if (value == 0) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::vector<PortEntry> ComPortEntries(std::vector<uint32_t> numbers) {
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    numbers.erase(std::remove(numbers.begin(), numbers.end(), 0u), numbers.end());
    if (numbers.size() > kMaxPorts) numbers.resize(kMaxPorts);
    std::vector<PortEntry> entries;
    entries.reserve(numbers.size());
    for (const uint32_t number : numbers) entries.push_back(EntryFor(number));
    return entries;
}

}  // namespace velmora
