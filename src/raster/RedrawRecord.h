#pragma once

#include <string_view>

#include "raster/DirtyTiles.h"
#include "raster/FrameOps.h"
#include "raster/OpReach.h"

namespace velmora {

// The drawing operations of one event, kept beside those the picture shows,
// and what drawing them changes. A redraw begins with a clear of the whole
// picture (a box that covers it) and the picture is a function of what
// follows it: when a redraw's operations are those of the one before but for
// a few (a triggered trace that stands still, a label that changed), only the
// tiles those few reach, before or now, differ. A canvas adds what it is
// asked for, settles at the end of the event, draws (or shows) what Settle
// says and commits. UI thread only.
class RedrawRecord {
  public:
    enum class Change {
        OnTop,  // no clear: the operations go on top of the picture as it is
        None,   // the redraw the picture shows already
        Tiles,  // that redraw but for a few operations: Tiles() holds where
        Whole,  // another redraw, or one that differs in more than a quarter of the tiles
    };

    // False, keeping nothing, when the record is full.
    bool Add(const DrawOp& op, std::string_view text = {}) { return pending_.Add(op, text); }
    bool Empty() const { return pending_.Size() == 0; }
    // Drops what came before the last clear (it covers it) and compares the
    // rest with what the picture shows. Pending() is then what to draw.
    Change Settle(const OpReach& reach);
    const FrameOps& Pending() const { return pending_; }
    const DirtyTiles& Tiles() const { return tiles_; }
    // The settled operations are drawn: from now on the picture shows them
    // (a redraw), or them after what it showed (operations on top).
    void Commit();
    // Something else wrote to the picture (or its font changed): the next
    // redraw is drawn whole.
    void Distrust() { shown_.describesPicture = false; }

  private:
    bool SameAsShown() const;
    Change MarkChanges(const OpReach& reach);

    FrameOps shown_;    // the operations the picture shows, since its last clear
    FrameOps pending_;  // those asked for since the last Commit
    DirtyTiles tiles_;
    Change settled_ = Change::OnTop;
};

}  // namespace velmora
