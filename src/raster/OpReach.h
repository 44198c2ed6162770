#pragma once

#include "raster/FrameOps.h"
#include "raster/PixelRect.h"

namespace velmora {

// Everything a drawing operation may write on a picture of `width` x
// `height` pixels, clamped to a pixel beyond the picture (which keeps the
// part inside it and the arithmetic small). A text reaches a line's height
// all round of its characters at the font's widest, for glyphs that overhang
// their box; the canvas that draws it knows its font's measures.
struct OpReach {
    int width = 0;
    int height = 0;
    int textHeight = 0;       // one line of the font
    int widestCharacter = 0;  // the font's widest character

    PixelRect operator()(const DrawOp& op) const;
};

}  // namespace velmora
