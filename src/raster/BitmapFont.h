#pragma once

#include <cstdint>

namespace velmora {

// A small built-in font: 5 x 7 pixel glyphs for printable ASCII with an
// eighth row for the descenders of g, j, p, q and y, in cells of 6 x 9 (a
// column and a row of space), drawn the same on every system, so that a
// picture drawn with it is the same file everywhere.
inline constexpr int kBitmapFontColumns = 5;
inline constexpr int kBitmapFontRows = 8;
inline constexpr int kBitmapCellWidth = 6;
inline constexpr int kBitmapCellHeight = 9;
inline constexpr unsigned char kBitmapFontFirst = 0x20;
inline constexpr unsigned char kBitmapFontLast = 0x7E;

// The glyph of `c`: kBitmapFontRows rows, bit 4 the leftmost column. A
// character outside printable ASCII shows as '?'.
const uint8_t* BitmapGlyph(char c);

}  // namespace velmora
