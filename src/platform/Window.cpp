#include "platform/Window.h"

namespace velmora {

void Window::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (onChanged) onChanged();
}

void Window::SetGeometry(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (onChanged) onChanged();
}

void Window::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

}  // namespace velmora
