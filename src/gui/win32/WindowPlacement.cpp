#include "gui/win32/WindowPlacement.h"

#include "app/ControlLayout.h"
#include "app/WindowGeometry.h"
#include "gui/win32/Latin1Text.h"
#include "gui/win32/MonitorDpi.h"

namespace velmora {
namespace {

constexpr UINT kQuietMove = SWP_NOZORDER | SWP_NOACTIVATE;

OuterRect Outer(const RECT& r) {
    return OuterRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

RECT Rect(const OuterRect& r) { return RECT{r.left, r.top, r.left + r.width, r.top + r.height}; }

// A place on no monitor (one unplugged since the settings file was written)
// comes back inside the nearest monitor's work area.
RECT OnAMonitor(RECT r) {
    if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr) return r;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return r;
    return Rect(IntoWorkArea(Outer(r), Outer(info.rcWork)));
}

}  // namespace

WindowPlacement::WindowPlacement(Window& model, DWORD style, DWORD exStyle)
    : model_(model), style_(style), exStyle_(exStyle) {
    SetDpi(kDesignDpi);
}

void WindowPlacement::SetDpi(int dpi) {
    dpi_ = dpi;
    const SIZE client{ToDevicePixels(kClientWidth, dpi), ToDevicePixels(kClientHeight, dpi)};
    designOuter_ = OuterSizeFor(client, style_, exStyle_, dpi);
}

void WindowPlacement::TakeDesignPlace() {
    SetWindowPos(window_, nullptr, ToDevicePixels(kDesignLeft, dpi_),
                 ToDevicePixels(kDesignTop, dpi_), designOuter_.cx, designOuter_.cy, kQuietMove);
}

void WindowPlacement::Mirror() {
    if (mirroring_) return;
    mirroring_ = true;
    SetWindowTextW(window_, WidenLatin1(model_.Caption()).c_str());
    const RECT wanted = OnAMonitor(Rect(
        DeviceOuterRect(model_, dpi_, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        GetSystemMetrics(SM_CYVIRTUALSCREEN), designOuter_.cx, designOuter_.cy)));
    RECT outer{};
    GetWindowRect(window_, &outer);
    if (!EqualRect(&outer, &wanted)) {
        SetWindowPos(window_, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
                     wanted.bottom - wanted.top, kQuietMove);
    }
    mirroring_ = false;
}

void WindowPlacement::Report() {
    if (mirroring_ || window_ == nullptr || IsIconic(window_)) return;
    mirroring_ = true;
    RECT outer{};
    GetWindowRect(window_, &outer);
    const OuterRect design = DesignOuterRect(Outer(outer), dpi_);
    model_.SetGeometry(design.left, design.top, design.width, design.height);
    mirroring_ = false;
}

void WindowPlacement::MoveTo(const RECT& outer) {
    SetWindowPos(window_, nullptr, outer.left, outer.top, outer.right - outer.left,
                 outer.bottom - outer.top, kQuietMove);
    Report();
}

}  // namespace velmora
