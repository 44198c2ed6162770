#include "gui/win32/Win32SaveToolkit.h"

#include "gui/win32/PngEncoder.h"
#include "system/win32/Win32OutputFiles.h"

namespace velmora {
namespace {

constexpr std::size_t kLongestPath = 32768;  // a wide path's limit, with its terminator

// A known folder's path (the user may have moved it anywhere); empty when
// the system has none.
std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::string Win32SaveToolkit::DocumentsFolder() const {
    for (const KNOWNFOLDERID& id : {FOLDERID_Documents, FOLDERID_Profile}) {
        const std::wstring folder = KnownFolder(id);
        if (!folder.empty()) return NarrowToUtf8(folder);
    }
    std::wstring folder(kLongestPath, L'\0');
    const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    folder.resize(n < folder.size() ? n : 0);
    return folder.empty() ? "." : NarrowToUtf8(folder);
}

std::string Win32SaveToolkit::AskSaveName(const std::string& proposed) {
    return NarrowToUtf8(ask_(WidenUtf8(proposed)));
}

void Win32SaveToolkit::TakePicture() {
    picture_ = canvas_.CopyPixels();
    width_ = canvas_.Width();
    height_ = canvas_.Height();
}

bool Win32SaveToolkit::EncodePicture(std::string& png, std::string& error) {
    return EncodePng(picture_, width_, height_, png, error);
}

std::wstring AskSaveNameInDialog(HWND owner, const std::wstring& proposed) {
    std::wstring path = proposed;
    path.resize(kLongestPath, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Samples (*.csv)\0*.csv\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = L"Save frame (CSV and PNG)";
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return {};
    return std::wstring(path.c_str());
}

}  // namespace velmora
