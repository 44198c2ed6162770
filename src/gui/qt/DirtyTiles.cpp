#include "gui/qt/DirtyTiles.h"

#include <algorithm>

namespace velmora {

void DirtyTiles::Reset(QSize size) {
    size_ = size;
    columns_ = (std::max(size.width(), 0) + kTile - 1) / kTile;
    rows_ = (std::max(size.height(), 0) + kTile - 1) / kTile;
    dirty_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
    count_ = 0;
}

bool DirtyTiles::Span(const QRect& area, int& firstColumn, int& lastColumn, int& firstRow,
                      int& lastRow) const {
    const QRect inside = area & QRect(QPoint(0, 0), size_);
    if (inside.isEmpty()) return false;
    firstColumn = inside.left() / kTile;
    lastColumn = inside.right() / kTile;
    firstRow = inside.top() / kTile;
    lastRow = inside.bottom() / kTile;
    return true;
}

void DirtyTiles::Mark(const QRect& area) {
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

QRect DirtyTiles::Tile(int column, int row) const {
    return QRect(column * kTile, row * kTile, kTile, kTile) & QRect(QPoint(0, 0), size_);
}

QRegion DirtyTiles::Region() const {
    std::vector<QRect> runs;
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
            runs.push_back(Tile(first, row) | Tile(last, row));
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

}  // namespace velmora
