#include "controls/Window.h"

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
    designSize_ = false;
    if (onChanged) onChanged();
}

void Window::SetDesignGeometry(int left, int top, int clientWidth, int clientHeight) {
    SetClientSize(clientWidth, clientHeight);
    SetGeometry(left, top, frame_.OuterWidth(clientWidth), frame_.OuterHeight(clientHeight));
    designSize_ = true;
}

void Window::SetFrame(const FrameMargins& frame) {
    if (frame == frame_) return;
    const int designWidth = frame_.ClientWidth(width_);
    const int designHeight = frame_.ClientHeight(height_);
    frame_ = frame;
    if (designSize_) {
        width_ = frame_.OuterWidth(designWidth);
        height_ = frame_.OuterHeight(designHeight);
    }
    if (onChanged) onChanged();
}

void Window::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
}

}  // namespace velmora
