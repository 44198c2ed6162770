#include "system/win32/Win32OutputFiles.h"

#include <windows.h>

#include <algorithm>

#include "system/win32/Win32OutputFile.h"

namespace velmora {
namespace {

using Kind = OutputFile::Kind;

// Attributes a replacement takes over from the file it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// Stand-in names tried before giving up (another capture may hold one).
constexpr int kStandInTries = 100;
// Others may read an output while it is written (a log followed as it grows).
constexpr DWORD kShareWhileWriting = FILE_SHARE_READ | FILE_SHARE_DELETE;

std::unique_ptr<OutputFile> Refused(DWORD code, std::string& error) {
    error = SystemMessage(code);
    return nullptr;
}

// The file a path ends at once links are followed, so that a replacement is
// moved over the file and not over a link to it.
std::wstring FinalPath(HANDLE file, const std::wstring& path) {
    const DWORD n = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
    if (n == 0) return path;
    std::wstring final(n, L'\0');
    const DWORD got = GetFinalPathNameByHandleW(file, final.data(), n, FILE_NAME_NORMALIZED);
    if (got == 0 || got >= n) return path;
    final.resize(got);
    return final;
}

std::unique_ptr<OutputFile> CreateNew(const std::wstring& path, std::string& error) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, kShareWhileWriting, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Refused(GetLastError(), error);
    return std::make_unique<Win32OutputFile>(Kind::Created, file, path, std::wstring(), true);
}

// A stand-in "NAME.velmora-PID-N.tmp" beside `target`; the target is not touched.
std::unique_ptr<OutputFile> CreateStandIn(const std::wstring& target, DWORD attributes,
                                          std::string& error) {
    const std::wstring stem = target + L".velmora-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    const DWORD kept = attributes & kKeptAttributes;
    DWORD code = ERROR_FILE_EXISTS;
    for (int i = 0; i < kStandInTries && code == ERROR_FILE_EXISTS; ++i) {
        const std::wstring standIn = stem + std::to_wstring(i) + L".tmp";
        const HANDLE file =
            CreateFileW(standIn.c_str(), GENERIC_WRITE, kShareWhileWriting, nullptr, CREATE_NEW,
                        kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return std::make_unique<Win32OutputFile>(Kind::Replacement, file, standIn, target,
                                                     true);
        }
        code = GetLastError();
    }
    return Refused(code, error);
}

}  // namespace

std::wstring WidenUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
    return wide;
}

std::string NarrowToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), n, nullptr, nullptr);
    return narrow;
}

std::string SystemMessage(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(code) : NarrowToUtf8(message);
}

// The path is opened as it is first, for writing but without changing it: a
// read-only or locked file is refused here, before any port is touched, and
// the handle says what the path is.
std::unique_ptr<OutputFile> Win32OutputFiles::Create(const std::string& path, std::string& error) {
    const std::wstring wide = WidenUtf8(path);
    if (wide.empty()) return Refused(ERROR_INVALID_NAME, error);
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? CreateNew(wide, error) : Refused(code, error);
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        return std::make_unique<Win32OutputFile>(Kind::Stream, file, std::wstring(), std::wstring(),
                                                 true);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD attributes =
        GetFileInformationByHandle(file, &info) ? info.dwFileAttributes : FILE_ATTRIBUTE_NORMAL;
    const std::wstring target = FinalPath(file, wide);
    CloseHandle(file);
    return CreateStandIn(target, attributes, error);
}

std::unique_ptr<OutputFile> Win32OutputFiles::StandardOutput() {
    return std::make_unique<Win32OutputFile>(Kind::Stream, GetStdHandle(STD_OUTPUT_HANDLE),
                                             std::wstring(), std::wstring(), false);
}

}  // namespace velmora
