#include "system/win32/ComPortDiscovery.h"

#include <algorithm>

#include "system/win32/ComPortList.h"

namespace velmora {

std::optional<std::vector<uint32_t>> CommApiPortNumbers(GetCommPortsFn getCommPorts) {
    if (getCommPorts == nullptr) return std::nullopt;
    // The count may grow between two calls (a USB adapter plugged in): a few
    // tries, each with the table the previous answer asked for.
    ULONG capacity = static_cast<ULONG>(kMaxPorts);
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<ULONG> numbers(capacity, 0);
        ULONG found = 0;
        const ULONG rc = getCommPorts(numbers.data(), capacity, &found);
        if (rc != ERROR_MORE_DATA) {
            numbers.resize(std::min(found, capacity));
            return std::vector<uint32_t>(numbers.begin(), numbers.end());
        }
        if (found <= capacity || found > kMaxPortQuery) break;
        capacity = found;
    }
    return std::nullopt;
}

std::vector<PortEntry> DiscoverComPorts(const ComPortSources& sources) {
    std::optional<std::vector<uint32_t>> numbers = CommApiPortNumbers(sources.getCommPorts);
    if (!numbers && sources.registry) numbers = sources.registry();
    std::vector<uint32_t> all = numbers.value_or(std::vector<uint32_t>{});
    if (sources.dosDevices) {
        const std::vector<uint32_t> devices = sources.dosDevices();
        all.insert(all.end(), devices.begin(), devices.end());
    }
    std::vector<PortEntry> entries = ComPortEntries(std::move(all));
    if (sources.pickedOnly) {
        for (PortEntry& entry : entries) {
            entry.pickedOnly = sources.pickedOnly(ComPortNumber(entry.name).value_or(0));
        }
    }
    return entries;
}

}  // namespace velmora
