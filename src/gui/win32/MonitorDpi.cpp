#include "gui/win32/MonitorDpi.h"

namespace velmora {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// Through void(*)(): the one cast between function types that is not a
// warning; the signatures are the documented ones.
template <typename F>
F User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC proc = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

SIZE OuterSizeFor(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr ||
        !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto forDpi = User32Function<SystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi != nullptr) return forDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, WindowDpi(nullptr));
}

}  // namespace velmora
