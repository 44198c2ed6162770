#pragma once

#include <cstddef>
#include <vector>

#include "raster/PixelRect.h"

namespace velmora {

// The tiles of the picture that must be drawn again, on a grid of squares of
// kTile pixels: where two successive frames differ.
class DirtyTiles {
  public:
    static constexpr int kTile = 32;
    // Clean tiles between two dirty ones of a row that are shown with them.
    static constexpr int kGap = 2;

    // All tiles clean, over a picture of `width` x `height` pixels.
    void Reset(int width, int height);
    // Every tile the rectangle touches; parts outside the picture are ignored.
    void Mark(const PixelRect& area);
    bool IsDirty(int column, int row) const { return dirty_[Index(column, row)] != 0; }
    std::size_t DirtyCount() const { return count_; }
    std::size_t TileCount() const { return dirty_.size(); }
    // The tiles a rectangle touches, as the inclusive range of columns and
    // rows; false when it misses the picture.
    bool Span(const PixelRect& area, int& firstColumn, int& lastColumn, int& firstRow,
              int& lastRow) const;
    // Whether the rectangle touches a dirty tile.
    bool Touches(const PixelRect& area) const;
    // A tile's pixels, within the picture.
    PixelRect Tile(int column, int row) const;
    // The dirty tiles, in rows of runs: top to bottom, left to right within a
    // row, none overlapping.
    std::vector<PixelRect> Runs() const;

  private:
    std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }

    PixelRect picture_;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<unsigned char> dirty_;
    std::size_t count_ = 0;
};

}  // namespace velmora
