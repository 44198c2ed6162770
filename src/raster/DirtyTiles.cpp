#include "raster/DirtyTiles.h"

#include <algorithm>

namespace velmora {

void DirtyTiles::Reset(int width, int height) {
    picture_ = PixelRect::Picture(std::max(width, 0), std::max(height, 0));
    columns_ = (std::max(width, 0) + kTile - 1) / kTile;
    rows_ = (std::max(height, 0) + kTile - 1) / kTile;
    dirty_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
    count_ = 0;
}

bool DirtyTiles::Span(const PixelRect& area, int& firstColumn, int& lastColumn, int& firstRow,
                      int& lastRow) const {
    const PixelRect inside = area.Within(picture_);
    if (inside.Empty()) return false;
    firstColumn = inside.left / kTile;
    lastColumn = inside.right / kTile;
    firstRow = inside.top / kTile;
    lastRow = inside.bottom / kTile;
    return true;
}

void DirtyTiles::Mark(const PixelRect& area) {
    int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
    if (!Span(area, c0, c1, r0, r1)) return;
    for (int row = r0; row <= r1; ++row) {
        for (int column = c0; column <= c1; ++column) {
            unsigned char& tile = dirty_[Index(column, row)];
            count_ += tile == 0 ? 1 : 0;
            tile = 1;
        }
    }
}

bool DirtyTiles::Touches(const PixelRect& area) const {
    int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
    if (!Span(area, c0, c1, r0, r1)) return false;
    for (int row = r0; row <= r1; ++row) {
        for (int column = c0; column <= c1; ++column) {
            if (IsDirty(column, row)) return true;
        }
    }
    return false;
}

PixelRect DirtyTiles::Tile(int column, int row) const {
    const int left = column * kTile;
    const int top = row * kTile;
    return PixelRect{left, top, left + kTile - 1, top + kTile - 1}.Within(picture_);
}

std::vector<PixelRect> DirtyTiles::Runs() const {
    std::vector<PixelRect> runs;
    for (int row = 0; row < rows_; ++row) {
        for (int column = 0; column < columns_;) {
            if (!IsDirty(column, row)) {
                ++column;
                continue;
            }
            const int first = column;
            int last = column;
            // A short gap costs less to show again than another rectangle.
            for (; column < columns_ && column - last <= kGap; ++column) {
                if (IsDirty(column, row)) last = column;
            }
            column = last + 1;
            runs.push_back(Tile(first, row).United(Tile(last, row)));
        }
    }
    return runs;
}

}  // namespace velmora
