#include "system/win32/Win32OutputFile.h"

#include <algorithm>

#include "system/win32/Win32OutputFiles.h"

namespace velmora {
namespace {

// The most one WriteFile call is handed.
constexpr std::size_t kMaxChunk = std::size_t{1} << 30;

// "\\?\C:\dir\name" as the user knows it: "C:\dir\name".
std::string Readable(const std::wstring& path) {
    const std::wstring prefix = L"\\\\?\\";
    const bool drive = path.size() > 6 && path.compare(0, 4, prefix) == 0 && path[5] == L':';
    return NarrowToUtf8(drive ? path.substr(4) : path);
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

}  // namespace

Win32OutputFile::Win32OutputFile(Kind kind, HANDLE file, std::wstring path, std::wstring target,
                                 bool owned)
    : kind_(kind),
      file_(file),
      path_(std::move(path)),
      target_(std::move(target)),
      owned_(owned),
      standIn_(kind == Kind::Replacement ? Readable(path_) : std::string()) {}

Win32OutputFile::~Win32OutputFile() {
    if (!finished_) Finish(0);
}

bool Win32OutputFile::Write(const char* bytes, std::size_t n) {
    if (file_ == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
    while (n > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min(n, kMaxChunk));
        DWORD written = 0;
        if (!WriteFile(file_, bytes, chunk, &written, nullptr)) return Fail(GetLastError());
        if (written == 0) return Fail(ERROR_DISK_FULL);
        bytes += written;
        n -= written;
        written_ += written;
    }
    return true;
}

bool Win32OutputFile::Finish(std::uint64_t keep) {
    if (finished_) return true;
    finished_ = true;
    if (kind_ == Kind::Stream) {
        if (owned_ && !CloseHandle(file_)) return Fail(GetLastError());
        return true;
    }
    if (keep == 0) {
        Discard();
        return true;
    }
    if (!CutBackAndClose(std::min(keep, written_))) return false;
    if (kind_ == Kind::Replacement &&
        !MoveFileExW(path_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return Fail(GetLastError());
    }
    return true;
}

// Only the whole frames stay, and they are on the disk before a move can
// make them the target.
bool Win32OutputFile::CutBackAndClose(std::uint64_t keep) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(keep);
    bool ok = (SetFilePointerEx(file_, end, nullptr, FILE_BEGIN) && SetEndOfFile(file_)) ||
              Fail(GetLastError());
    ok = ok && (FlushFileBuffers(file_) || Fail(GetLastError()));
    if (!CloseHandle(file_) && ok) ok = Fail(GetLastError());
    file_ = INVALID_HANDLE_VALUE;
    return ok;
}

// Nothing whole to keep: the file this output made goes again, and whatever
// the target held stays as it was. It is deleted through a handle that is
// checked to be the same file, so a file put under its name since is never
// the one that goes (the output's own handle lacks the right to delete, so
// that others can open the file while it grows).
void Win32OutputFile::Discard() {
    const HANDLE named = CreateFileW(path_.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (named != INVALID_HANDLE_VALUE) {
        if (SameFile(named, file_)) {
            FILE_DISPOSITION_INFO dispose{};
            dispose.DeleteFile = TRUE;
            SetFileInformationByHandle(named, FileDispositionInfo, &dispose, sizeof dispose);
        }
        CloseHandle(named);
    }
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

bool Win32OutputFile::Fail(DWORD code) {
    error_ = SystemMessage(code);
    return false;
}

}  // namespace velmora
