#include "system/win32/Win32OutputFiles.h"

#include <windows.h>

#include <algorithm>

namespace velmora {
namespace {

class Win32OutputFile final : public OutputFile {
  public:
    // `path` empty: a handle that is not ours to close or remove.
    Win32OutputFile(HANDLE file, std::wstring path) : file_(file), path_(std::move(path)) {}
    ~Win32OutputFile() override { Close(); }

    bool Write(const char* bytes, std::size_t n) override {
        while (n > 0 && file_ != INVALID_HANDLE_VALUE && !failed_) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file_, bytes, chunk, &written, nullptr)) return Fail(GetLastError());
            if (written == 0) return Fail(ERROR_DISK_FULL);
            bytes += written;
            n -= written;
        }
        return !failed_;
    }

    bool Close() override {
        if (file_ == INVALID_HANDLE_VALUE) return !failed_;
        const HANDLE file = file_;
        file_ = INVALID_HANDLE_VALUE;
        if (!path_.empty() && !CloseHandle(file)) Fail(GetLastError());
        if (failed_ && !path_.empty()) DeleteFileW(path_.c_str());
        return !failed_;
    }

    const std::string& Error() const override { return error_; }

  private:
    bool Fail(DWORD code) {
        if (!failed_) error_ = SystemMessage(code);
        failed_ = true;
        return false;
    }

    HANDLE file_;
    std::wstring path_;
    bool failed_ = false;
    std::string error_;
};

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

std::unique_ptr<OutputFile> Win32OutputFiles::Create(const std::string& path, std::string& error) {
    const std::wstring wide = WidenUtf8(path);
    if (wide.empty()) {
        error = SystemMessage(ERROR_INVALID_NAME);
        return nullptr;
    }
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = SystemMessage(GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32OutputFile>(file, wide);
}

std::unique_ptr<OutputFile> Win32OutputFiles::StandardOutput() {
    return std::make_unique<Win32OutputFile>(GetStdHandle(STD_OUTPUT_HANDLE), std::wstring());
}

}  // namespace velmora
