#include "platform/win32/window/ChildControl.h"

#include <stdexcept>
#include <string>

namespace velmora {

ChildControl::ChildControl(const ChildContext& context, const ChildSpec& spec)
    : hwnd_(CreateWindowExW(
          spec.exStyle, spec.windowClass, spec.text.c_str(), spec.style | WS_CHILD, spec.left,
          spec.top, spec.width, spec.height, context.parent,
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

}  // namespace velmora
