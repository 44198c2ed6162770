#pragma once

#include <cstdint>

namespace velmora {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The room a text takes on the surface, in pixels.
struct TextExtent {
    int width = 0;
    int height = 0;
};

// The drawing surface of the window. Coordinates are client pixels, y down;
// the surface clips, callers do not. The pen starts black and one pixel wide;
// the brush is white and text is drawn over it, black until a text colour is
// set; the font is the surface's own.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void SetPenColor(Rgb color) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // Draws from the current point to (x, y), which becomes the current point.
    virtual void LineTo(int x, int y) = 0;
    // Fills with the brush and outlines with the pen, corners inclusive-exclusive.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    // `text` is zero-terminated 8-bit text (Latin-1).
    virtual void TextOut(int x, int y, const char* text) = 0;
    // The colour of text drawn from now on; the pen keeps its own.
    virtual void SetTextColor(Rgb color) = 0;
    // The box TextOut would fill with `text`, without drawing it.
    virtual TextExtent MeasureText(const char* text) = 0;
};

}  // namespace velmora
