#include "gui/win32/MainWindowClass.h"

#include <stdexcept>

#include "app/ControlLayout.h"
#include "gui/win32/Latin1Text.h"
#include "gui/win32/VelmoraResources.h"

namespace velmora {
namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraMainWindow";

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(VELMORA_ICON));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORA_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, WNDPROC procedure, const std::string& caption, SIZE outer,
                      void* self) {
    RegisterWindowClass(instance, procedure);
    const HWND created = CreateWindowExW(
        kMainWindowExStyle, kWindowClass, WidenLatin1(caption).c_str(), kMainWindowStyle,
        kDesignLeft, kDesignTop, outer.cx, outer.cy, nullptr, nullptr, instance, self);
    if (created == nullptr) {
        throw std::runtime_error("cannot create the main window (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    return created;
}

}  // namespace velmora
