#pragma once

#include <functional>
#include <string>

#include "controls/DpiScale.h"
#include "controls/FrameMargins.h"

namespace velmora {

// The main window's own properties: caption, outer geometry in screen pixels
// (Left, Top, Width, Height: the window with its frame, as the settings file
// stores it and a binding applies it) and the client area the picture is
// drawn in (ClientWidth, ClientHeight). Only the binding knows the frame
// between the two; it reports it with SetFrame. On a monitor of more than 96
// DPI the outer geometry stays in design pixels (DpiScale.h) while the client
// area is in the device pixels the picture is drawn at; Dpi says which.
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
    // Sets the outer geometry (the program, the settings file, or the binding
    // reporting where the window is).
    void SetGeometry(int left, int top, int width, int height);
    // The design placement: the outer left and top, and the size of the client
    // area. Until an outer geometry is set, the outer size is this client area
    // plus whatever frame the binding reports.
    void SetDesignGeometry(int left, int top, int clientWidth, int clientHeight);

    const FrameMargins& Frame() const { return frame_; }
    // Reported by the binding when it learns (or changes) its frame. A design
    // size keeps its client area and its outer size grows by the frame; an
    // outer geometry that was set stays as it is.
    void SetFrame(const FrameMargins& frame);

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    // Reported by the binding (or a test) when the client area changes size.
    void SetClientSize(int width, int height);

    // The DPI of the monitor the window is on, as the binding reports it.
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi) { dpi_ = dpi; }

  private:
    std::string caption_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int clientWidth_ = 0, clientHeight_ = 0;
    FrameMargins frame_;
    int dpi_ = kDesignDpi;
    bool designSize_ = false;  // the outer size is the design client area plus the frame
};

}  // namespace velmora
