#include "system/win32/Win32PortSources.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "system/win32/ComPortList.h"

namespace velmora {
namespace {

// Bounds on the registry walk, so that a damaged key cannot keep us reading.
constexpr DWORD kMaxRegistryValues = 4096;
constexpr DWORD kMaxDosDevice = 255;

std::array<char, 16> DosName(uint32_t number) {
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "COM%lu", static_cast<unsigned long>(number));
    return name;
}

// The text of a REG_SZ value, or empty.
std::string StringValue(HKEY root, const char* key, const char* value) {
    std::array<char, 512> data{};
    DWORD size = static_cast<DWORD>(data.size() - 1);
    if (RegGetValueA(root, key, value, RRF_RT_REG_SZ, nullptr, data.data(), &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return std::string(data.data());
}

std::optional<uint32_t> NumberOfValueData(const std::array<char, 64>& data, DWORD size,
                                          DWORD type) {
    if (type != REG_SZ) return std::nullopt;
    std::string_view text(data.data(), size);
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    return ComPortNumber(text);
}

}  // namespace

// The exported name is looked up in kernelbase (loaded in every process
// from Windows 8 on) and then in the API set, both from System32 only.
GetCommPortsFn FindGetCommPorts() {
    for (const char* dll : {"kernelbase.dll", "api-ms-win-core-comm-l1-1-2.dll"}) {
        HMODULE module = GetModuleHandleA(dll);
        if (module == nullptr) module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr) continue;
        // Through void(*)(): the one cast between function types that is
        // not a warning; the signature is the documented one.
        const FARPROC proc = GetProcAddress(module, "GetCommPorts");
        if (proc != nullptr) {
            return reinterpret_cast<GetCommPortsFn>(reinterpret_cast<void (*)()>(proc));
        }
    }
    return nullptr;
}

std::vector<uint32_t> RegistryPortNumbers() {
    std::vector<uint32_t> numbers;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS) {
        return numbers;
    }
    for (DWORD index = 0; index < kMaxRegistryValues; ++index) {
        std::array<char, 256> name{};
        std::array<char, 64> data{};
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG rc = RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) continue;  // a value too long to be a port name
        if (const auto number = NumberOfValueData(data, dataSize, type)) numbers.push_back(*number);
    }
    RegCloseKey(key);
    return numbers;
}

std::vector<uint32_t> DosDevicePortNumbers() {
    std::vector<uint32_t> numbers;
    for (DWORD number = 1; number <= kMaxDosDevice; ++number) {
        const std::array<char, 16> device = DosName(number);
        std::array<char, 512> target{};
        // A target too long for the buffer still names a device that exists.
        if (QueryDosDeviceA(device.data(), target.data(), static_cast<DWORD>(target.size())) != 0 ||
            GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

bool PortIsPickedOnly(uint32_t number) {
    const std::array<char, 16> name = DosName(number);
    std::array<char, 512> device{};
    if (QueryDosDeviceA(name.data(), device.data(), static_cast<DWORD>(device.size())) == 0) {
        device[0] = '\0';
    }
    return PickedOnlyDevice(device.data(),
                            StringValue(HKEY_LOCAL_MACHINE, "Software\\Wine\\Ports", name.data()));
}

}  // namespace velmora
