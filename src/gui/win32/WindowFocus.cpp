#include "gui/win32/WindowFocus.h"

namespace velmora {

bool WindowFocus::Take(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            OnActivate(wParam);
            return true;
        case WM_SETFOCUS:
            Restore();
            return true;
        case WM_NEXTDLGCTL:
            OnNextDlgCtl(wParam, lParam);
            return true;
        default:
            return false;
    }
}

void WindowFocus::OnActivate(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) focus_ = focus;
    } else if (HIWORD(state) == 0) {  // not minimised
        Restore();
    }
}

void WindowFocus::Restore() {
    HWND target = focus_;
    if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(window_, nullptr, FALSE);
    }
    if (target != nullptr) SetFocus(target);
}

void WindowFocus::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
    HWND next = nullptr;
    if (LOWORD(lParam) != 0) {
        next = reinterpret_cast<HWND>(wParam);
    } else {
        const HWND focus = GetFocus();
        next = GetNextDlgTabItem(window_, focus == window_ ? nullptr : focus, wParam != 0);
    }
    if (next != nullptr) SetFocus(next);
}

}  // namespace velmora
