#pragma once

#include <functional>
#include <string>

namespace velmora {

// The main window's own properties: caption, outer geometry in screen pixels
// and the client area the picture is drawn in.
class Window {
  public:
    std::function<void()> onChanged;  // binding mirror (caption, geometry)

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetGeometry(v, top_, width_, height_); }
    void SetTop(int v) { SetGeometry(left_, v, width_, height_); }
    void SetWidth(int v) { SetGeometry(left_, top_, v, height_); }
    void SetHeight(int v) { SetGeometry(left_, top_, width_, v); }
    void SetGeometry(int left, int top, int width, int height);

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    // Reported by the binding (or a test) when the client area changes size.
    void SetClientSize(int width, int height);

  private:
    std::string caption_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int clientWidth_ = 0, clientHeight_ = 0;
};

}  // namespace velmora
