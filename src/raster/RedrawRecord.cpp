#include "raster/RedrawRecord.h"

#include <cstdint>
#include <utility>

namespace velmora {

RedrawRecord::Change RedrawRecord::Settle(const OpReach& reach) {
    const int64_t w = reach.width;
    const int64_t h = reach.height;
    std::size_t clear = pending_.Size();
    for (std::size_t i = 0; i < pending_.Size(); ++i) {
        const DrawOp& op = pending_[i];
        if (op.kind == DrawOp::Kind::Box && op.x0 <= 0 && op.y0 <= 0 && op.x1 >= w && op.y1 >= h) {
            clear = i;
        }
    }
    if (clear == pending_.Size()) return settled_ = Change::OnTop;
    pending_.DropBefore(clear);
    settled_ = SameAsShown() ? MarkChanges(reach) : Change::Whole;
    return settled_;
}

// The same clear and as many operations after it as the picture shows.
bool RedrawRecord::SameAsShown() const {
    return shown_.describesPicture && shown_.Size() == pending_.Size() &&
           shown_.SameAt(pending_, 0);
}

// Only the tiles that an operation which changed reaches, before or now; the
// whole picture where that is more than a quarter of it (a trace that moves
// reaches nearly every tile, and thousands of small areas cost the window
// more to show than one large one).
RedrawRecord::Change RedrawRecord::MarkChanges(const OpReach& reach) {
    tiles_.Reset(reach.width, reach.height);
    const std::size_t most = tiles_.TileCount() / 4;
    for (std::size_t i = 1; i < pending_.Size(); ++i) {
        if (shown_.SameAt(pending_, i)) continue;
        tiles_.Mark(reach(shown_[i]));
        tiles_.Mark(reach(pending_[i]));
        if (tiles_.DirtyCount() > most) return Change::Whole;
    }
    return tiles_.DirtyCount() == 0 ? Change::None : Change::Tiles;
}

void RedrawRecord::Commit() {
    if (settled_ == Change::OnTop) {
        for (std::size_t i = 0; i < pending_.Size(); ++i) {
            const DrawOp& op = pending_[i];
            if (shown_.describesPicture && !shown_.Add(op, pending_.Text(op))) Distrust();
        }
    } else {
        std::swap(shown_, pending_);
        shown_.describesPicture = true;
    }
    pending_.Clear();
    settled_ = Change::OnTop;
}

}  // namespace velmora
