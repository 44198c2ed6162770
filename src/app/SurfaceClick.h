#pragma once

namespace velmora {

// A click on the picture (ScreenClick): the left button pressed and released
// on the window's surface, that is inside the client area and over no control
// that takes the mouse. A disabled control (the greyed labels) takes none, so
// a click on it is a click on the surface, as on the instrument's home
// platform. Each binding says where its pointer is; this decides.
class SurfaceClick {
  public:
    struct At {
        bool leftButton = false;
        bool inClient = false;
        bool overEnabledControl = false;
    };

    // True when the press was on the surface (the binding may then hold the
    // mouse until the release).
    bool Press(const At& at) {
        pressed_ = OnSurface(at);
        return pressed_;
    }
    // True when the press and this release make a click.
    bool Release(const At& at) {
        const bool click = pressed_ && OnSurface(at);
        pressed_ = false;
        return click;
    }

  private:
    static bool OnSurface(const At& at) {
        return at.leftButton && at.inClient && !at.overEnabledControl;
    }

    bool pressed_ = false;
};

}  // namespace velmora
