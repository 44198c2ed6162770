#include <QString>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gui/qt/QImageCanvas.h"
#include "raster/BoxRaster.h"
#include "raster/PixelRect.h"

// The redraw the canvas keeps until the end of an event (see the class
// comment), and the drawing of one operation, whole or inside a tile.
namespace velmora {

namespace {

QRect ToQRect(const PixelRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

}  // namespace

void QImageCanvas::Record(const DrawOp& op, std::string_view text) {
    if (record_.Add(op, text)) return;
    Flush();  // full: what is kept is drawn now, and the record starts again
    if (record_.Add(op, text)) return;
    // Larger than the whole record: drawn at once, and the record no longer
    // tells what the picture shows.
    Render(op, text, image_.rect(), true);
    record_.Distrust();
}

void QImageCanvas::Flush() {
    switch (record_.Settle(Reach())) {
        case RedrawRecord::Change::OnTop:
        case RedrawRecord::Change::Whole:
            RenderWhole();
            break;
        case RedrawRecord::Change::Tiles:
            RenderTiles();
            break;
        case RedrawRecord::Change::None:
            break;
    }
    record_.Commit();
}

OpReach QImageCanvas::Reach() const {
    return OpReach{image_.width(), image_.height(), textHeight_, widestCharacter_};
}

// Every operation again, clipped to each dirty tile it reaches.
void QImageCanvas::RenderTiles() {
    const FrameOps& ops = record_.Pending();
    const DirtyTiles& tiles = record_.Tiles();
    const OpReach reach = Reach();
    for (std::size_t i = 0; i < ops.Size(); ++i) {
        const DrawOp& op = ops[i];
        int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
        if (!tiles.Span(reach(op), c0, c1, r0, r1)) continue;
        for (int row = r0; row <= r1; ++row) {
            for (int column = c0; column <= c1; ++column) {
                if (tiles.IsDirty(column, row)) {
                    Render(op, ops.Text(op), ToQRect(tiles.Tile(column, row)), false);
                }
            }
        }
    }
    const std::vector<PixelRect> runs = tiles.Runs();
    std::vector<QRect> rects;
    rects.reserve(runs.size());
    for (const PixelRect& run : runs) rects.push_back(ToQRect(run));
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    changed_ += region;
}

void QImageCanvas::RenderWhole() {
    const FrameOps& ops = record_.Pending();
    for (std::size_t i = 0; i < ops.Size(); ++i) {
        Render(ops[i], ops.Text(ops[i]), image_.rect(), true);
    }
}

// Draws the operation's pixels inside `clip` (within the image), adding what
// it reaches to the drawn area when `track` is set.
void QImageCanvas::Render(const DrawOp& op, std::string_view text, const QRect& clip, bool track) {
    switch (op.kind) {
        case DrawOp::Kind::Line: {
            if (track) Drawn(op.x0, op.y0, op.x1, op.y1);
            const LineRaster raster(pixels_ + clip.top() * stride_ + clip.left(), clip.width(),
                                    clip.height(), stride_, clip.left(), clip.top());
            raster.Draw(op.x0, op.y0, op.x1, op.y1, op.colour);
            return;
        }
        case DrawOp::Kind::Box:
            if (track) Drawn(op.x0, op.y0, op.x1 - 1, op.y1 - 1);
            BoxRaster(pixels_, stride_)
                .Draw(op.x0, op.y0, op.x1, op.y1, op.colour,
                      PixelRect{clip.left(), clip.top(), clip.right(), clip.bottom()});
            return;
        case DrawOp::Kind::Text: {
            QRect written;
            if (!stamps_.Draw(image_, clip, op.x0, op.y0, std::string(text), op.colour,
                              painter_.font(), written)) {
                return PaintClippedText(op, text, clip, track);
            }
            if (track && !written.isEmpty()) {
                Drawn(written.left(), written.top(), written.right(), written.bottom());
            }
            return;
        }
    }
}

void QImageCanvas::PaintClippedText(const DrawOp& op, std::string_view text, const QRect& clip,
                                    bool track) {
    const bool whole = clip == image_.rect();
    if (!whole) painter_.setClipRect(clip);
    // Text has a colour of its own, not the pen's.
    painter_.setPen(QColor(op.colour));
    painter_.drawText(op.x0, op.y0 + ascent_,
                      QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    painter_.setPen(Pen());
    if (!whole) painter_.setClipping(false);
    if (!track) return;
    // No wider than its characters at the font's widest; measuring it would
    // lay the text out a second time.
    const int64_t length = static_cast<int64_t>(text.size());
    Drawn(op.x0, op.y0, Near(op.x0 + length * widestCharacter_, op.x0, INT_MAX),
          Near(op.y0 + int64_t{textHeight_}, op.y0, INT_MAX));
}

}  // namespace velmora
