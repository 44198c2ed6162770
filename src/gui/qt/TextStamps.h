#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <map>
#include <string>
#include <utility>

namespace velmora {

// The picture's labels, each laid out and rendered once. Shaping a text costs
// far more than copying its pixels, and the graticule draws the same few dozen
// labels every frame. A stamp is kept only where the painter's own drawText
// (opaque white background, no antialiasing hint, the given font and colour)
// writes a rectangle whose every pixel is independent of what lay beneath:
// that is checked by rendering the text on two different grounds. Any other
// text is left to the painter. RGB32 pictures only; UI thread only.
class TextStamps {
  public:
    // Writes the part inside `clip` of `text` with its top left corner at
    // (x, y) into `picture`, and returns the rectangle the whole text covers
    // (possibly empty); false when this text must go through the painter.
    bool Draw(QImage& picture, const QRect& clip, int x, int y, const std::string& text,
              QRgb colour, const QFont& font, QRect& written);

  private:
    struct Stamp {
        bool usable = false;
        QPoint offset;  // of the stamp's top left from the text's
        QImage pixels;
    };
    static Stamp Make(const QImage& picture, const std::string& text, QRgb colour,
                      const QFont& font);
    void StartAfresh(const QImage& picture, const QFont& font);

    // Enough for every label of every range with room to spare; past it the
    // stamps are made again.
    static constexpr std::size_t kMostStamps = 256;
    std::map<std::pair<QRgb, std::string>, Stamp> stamps_;
    // What the stamps were rendered with: the font, and the picture's
    // resolution, which sizes a font given in points.
    QFont font_;
    QSize dotsPerMeter_;
};

}  // namespace velmora
