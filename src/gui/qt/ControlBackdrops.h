#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <map>

class QWidget;

namespace velmora {

// The window's controls stand on its picture, and those without a background
// of their own show it through. After a redraw such a control needs
// repainting only where the picture under it changed, and one that paints
// all its pixels never does: otherwise it looks as it did. This keeps, for
// every control that shows the picture, the picture under it as last shown.
// UI thread only.
class ControlBackdrops {
  public:
    // The part of `drawn` that must be repainted: all of it, less the visible
    // child controls of `window` that hide the picture or whose backdrop in
    // `picture` is as last shown. The backdrops of the others are taken as
    // shown from here on.
    QRegion Changed(const QImage& picture, const QRegion& drawn, const QWidget& window);

  private:
    struct Backdrop {
        QRect area;
        QImage pixels;
    };
    static bool Unchanged(const QImage& picture, const QRect& area, Backdrop& backdrop);

    std::map<const QWidget*, Backdrop> shown_;
};

}  // namespace velmora
