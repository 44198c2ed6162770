#include "system/win32/Win32SettingsStore.h"

#include <windows.h>

#include <array>
#include <cstdio>

#include "system/win32/Win32OutputFiles.h"
#include "system/win32/Win32SettingsReader.h"
#include "system/win32/Win32SettingsWriter.h"

namespace velmora {
namespace {

using FilePath = std::array<char, MAX_PATH>;

bool IsRelative(const char* name) {
    const char first = name[0];
    return first != '\\' && first != '/' && (first == '\0' || name[1] != ':');
}

// ".\name" for a relative name; false when the result would not fit.
bool PathFor(const char* name, FilePath& path) {
    const int length =
        std::snprintf(path.data(), path.size(), IsRelative(name) ? ".\\%s" : "%s", name);
    return length > 0 && static_cast<std::size_t>(length) < path.size();
}

HANDLE OpenExclusively(const char* name, DWORD access) {
    FilePath path{};
    if (!PathFor(name, path)) return INVALID_HANDLE_VALUE;
    return CreateFileA(path.data(), access, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

std::unique_ptr<SettingsReader> Win32SettingsStore::OpenForRead(const char* name) {
    const HANDLE file = OpenExclusively(name, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32SettingsReader>(file);
}

std::unique_ptr<SettingsWriter> Win32SettingsStore::OpenForWrite(const char* name) {
    const HANDLE file = OpenExclusively(name, GENERIC_WRITE);
    if (file == INVALID_HANDLE_VALUE) {
        lastFailure_ = SystemMessage(GetLastError());
        return nullptr;
    }
    if (!SetEndOfFile(file)) {  // the new handle stands at offset 0
        lastFailure_ = SystemMessage(GetLastError());
        CloseHandle(file);
        return nullptr;
    }
    return std::make_unique<Win32SettingsWriter>(file);
}

std::string Win32SettingsStore::PathOf(const char* name) const {
    FilePath relative{};
    FilePath full{};
    if (!PathFor(name, relative)) return name;
    const DWORD n =
        GetFullPathNameA(relative.data(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return n > 0 && n < full.size() ? std::string(full.data(), n) : std::string(name);
}

}  // namespace velmora
