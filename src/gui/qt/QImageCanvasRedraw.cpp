#include <QString>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include "gui/qt/QImageCanvas.h"

// The redraw the canvas keeps until the end of an event (see the class
// comment), and the drawing of one operation, whole or inside a tile.
namespace velmora {

void QImageCanvas::Record(const DrawOp& op, std::string_view text) {
    if (pending_.Add(op, text)) return;
    Flush();  // full: what is kept is drawn now, and the record starts again
    if (pending_.Add(op, text)) return;
    // Larger than the whole record: drawn at once, and the record no longer
    // tells what the picture shows.
    Render(op, text, image_.rect(), true);
    shown_.describesPicture = false;
}

// A clear of the whole picture starts a redraw; what came before it in this
// event is covered by it.
void QImageCanvas::Flush() {
    const int64_t w = image_.width();
    const int64_t h = image_.height();
    std::size_t clear = pending_.Size();
    for (std::size_t i = 0; i < pending_.Size(); ++i) {
        const DrawOp& op = pending_[i];
        if (op.kind == DrawOp::Kind::Box && op.x0 <= 0 && op.y0 <= 0 && op.x1 >= w && op.y1 >= h) {
            clear = i;
        }
    }
    if (clear == pending_.Size()) {
        // Drawn on top of what the picture shows.
        for (std::size_t i = 0; i < pending_.Size(); ++i) {
            const std::string_view text = pending_.Text(pending_[i]);
            Render(pending_[i], text, image_.rect(), true);
            if (shown_.describesPicture && !shown_.Add(pending_[i], text)) {
                shown_.describesPicture = false;
            }
        }
        pending_.Clear();
        return;
    }
    pending_.DropBefore(clear);
    if (SameAsShown()) {
        RenderChanges();
    } else {
        RenderWhole();
    }
    std::swap(shown_, pending_);
    shown_.describesPicture = true;
    pending_.Clear();
}

// The same clear and as many operations after it as the picture shows.
bool QImageCanvas::SameAsShown() const {
    return shown_.describesPicture && shown_.Size() == pending_.Size() &&
           shown_.SameAt(pending_, 0);
}

// Only the tiles that an operation which changed reaches, before or now; the
// whole picture where that is more than a quarter of it (a trace that moves
// reaches nearly every tile, and thousands of small areas cost the window
// more to show than one large one).
void QImageCanvas::RenderChanges() {
    tiles_.Reset(image_.size());
    const std::size_t most = tiles_.TileCount() / 4;
    for (std::size_t i = 1; i < pending_.Size(); ++i) {
        if (shown_.SameAt(pending_, i)) continue;
        tiles_.Mark(Reach(shown_[i]));
        tiles_.Mark(Reach(pending_[i]));
        if (tiles_.DirtyCount() > most) return RenderWhole();
    }
    if (tiles_.DirtyCount() == 0) return;
    for (std::size_t i = 0; i < pending_.Size(); ++i) {
        const DrawOp& op = pending_[i];
        int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
        if (!tiles_.Span(Reach(op), c0, c1, r0, r1)) continue;
        for (int row = r0; row <= r1; ++row) {
            for (int column = c0; column <= c1; ++column) {
                if (tiles_.IsDirty(column, row)) {
                    Render(op, pending_.Text(op), tiles_.Tile(column, row), false);
                }
            }
        }
    }
    changed_ += tiles_.Region();
}

void QImageCanvas::RenderWhole() {
    for (std::size_t i = 0; i < pending_.Size(); ++i) {
        Render(pending_[i], pending_.Text(pending_[i]), image_.rect(), true);
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
            return PaintBox(op, clip);
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

// Everything the operation may write, clamped to a pixel beyond the image
// (which keeps the part inside the image and the arithmetic small).
QRect QImageCanvas::Reach(const DrawOp& op) const {
    const int64_t w = image_.width();
    const int64_t h = image_.height();
    int64_t left = std::min(op.x0, op.x1), right = std::max(op.x0, op.x1);
    int64_t top = std::min(op.y0, op.y1), bottom = std::max(op.y0, op.y1);
    if (op.kind == DrawOp::Kind::Box) {
        right = op.x1 - 1;
        bottom = op.y1 - 1;
    } else if (op.kind == DrawOp::Kind::Text) {
        // A line's height all round of the characters at the font's widest,
        // for glyphs that overhang their box.
        const int64_t margin = textHeight_;
        left = op.x0 - margin;
        top = op.y0 - margin;
        right = op.x0 + int64_t{op.length} * widestCharacter_ + margin;
        bottom = op.y0 + int64_t{textHeight_} + margin;
    }
    return QRect(QPoint(Near(left, -1, w), Near(top, -1, h)),
                 QPoint(Near(right, -1, w), Near(bottom, -1, h)));
}

// What the painter's drawRect(left, top, right - left - 1, bottom - top - 1)
// leaves with the white brush and the one-pixel pen, written straight into
// the pixels inside `clip`: the outline on columns left and right - 1 and
// rows top and bottom - 1, white inside. The box may overhang the image by a
// pixel on each side.
void QImageCanvas::PaintBox(const DrawOp& box, const QRect& clip) {
    constexpr uint32_t kWhite = 0xffffffff;
    const int left = box.x0, top = box.y0, right = box.x1, bottom = box.y1;
    const int first = std::max(top, clip.top());
    const int last = std::min(bottom, clip.bottom() + 1);  // rows first .. last - 1
    const int from = std::max(left, clip.left());
    const int to = std::min(right, clip.right() + 1);  // columns from .. to - 1
    if (from >= to) return;
    for (int y = first; y < last; ++y) {
        uint32_t* const line = pixels_ + y * stride_;
        const bool edge = y == top || y == bottom - 1;
        std::fill(line + from, line + to, edge ? box.colour : kWhite);
        if (edge) continue;
        if (left >= from && left < to) line[left] = box.colour;
        if (right - 1 >= from && right - 1 < to) line[right - 1] = box.colour;
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
