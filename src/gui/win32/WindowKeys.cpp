#include "gui/win32/WindowKeys.h"

namespace velmora {
namespace {

bool Pressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool TypesText(HWND focus) {
    wchar_t name[16]{};
    if (focus == nullptr || GetClassNameW(focus, name, 16) == 0) return false;
    return lstrcmpiW(name, L"Edit") == 0 && (GetWindowLongW(focus, GWL_STYLE) & ES_READONLY) == 0;
}

}  // namespace

WindowKey WindowKeyOf(const MSG& message, HWND window) {
    if (message.message != WM_KEYDOWN || !IsWindow(window)) return WindowKey::None;
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return WindowKey::None;
    const bool control = Pressed(VK_CONTROL), alt = Pressed(VK_MENU);
    if (message.wParam == 'S' && control && !alt) return WindowKey::SaveFrame;
    if (message.wParam == 'M' && !control && !alt && !TypesText(GetFocus())) {
        return WindowKey::ToggleReadout;
    }
    return WindowKey::None;
}

}  // namespace velmora
