#include "gui/win32/ChildControl.h"

#include <stdexcept>
#include <string>

namespace velmora {

ChildControl::ChildControl(const ChildContext& context, const ChildParams& params)
    : hwnd_(CreateWindowExW(
          params.exStyle, params.windowClass, params.text.c_str(), params.style | WS_CHILD,
          params.left, params.top, params.width, params.height, context.parent,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(context.id)), context.instance, nullptr)) {
    if (hwnd_ == nullptr) {
        throw std::runtime_error("cannot create a control of the window (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(context.font), FALSE);
}

ChildControl::~ChildControl() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void ChildControl::Place(int left, int top, int width, int height) {
    MoveWindow(hwnd_, left, top, width, height, TRUE);
}

void ChildControl::Rescale(const ChildScale& scale) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(scale.font), TRUE);
}

int ChildControl::TextExtent(std::wstring_view text) const {
    const HDC dc = GetDC(hwnd_);
    if (dc == nullptr) return 0;
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    if (old != nullptr) SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return static_cast<int>(size.cx);
}

}  // namespace velmora
