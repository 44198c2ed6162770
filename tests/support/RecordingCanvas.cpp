#include "RecordingCanvas.h"

#include <algorithm>
#include <sstream>
#include <string_view>

namespace velmora {

void RecordingCanvas::SetPenColor(Rgb color) {
    pen_ = color;
    ops_.push_back({Kind::kPen, 0, 0, 0, 0, color, {}});
}

void RecordingCanvas::MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
    ops_.push_back({Kind::kMoveTo, x, y, 0, 0, pen_, {}});
}

void RecordingCanvas::LineTo(int x, int y) {
    ops_.push_back({Kind::kLineTo, x_, y_, x, y, pen_, {}});
    x_ = x;
    y_ = y;
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    ops_.push_back({Kind::kRectangle, x1, y1, x2, y2, pen_, {}});
}

void RecordingCanvas::TextOut(int x, int y, const char* text) {
    ops_.push_back({Kind::kText, x, y, 0, 0, pen_, text});
}

std::size_t RecordingCanvas::Count(Kind kind) const {
    return static_cast<std::size_t>(
        std::count_if(ops_.begin(), ops_.end(), [kind](const Op& op) { return op.kind == kind; }));
}

std::vector<std::string> RecordingCanvas::Texts() const {
    std::vector<std::string> texts;
    for (const Op& op : ops_) {
        if (op.kind == Kind::kText) texts.push_back(op.text);
    }
    return texts;
}

std::vector<RecordingCanvas::Op> RecordingCanvas::LinesIn(Rgb color) const {
    std::vector<Op> lines;
    for (const Op& op : ops_) {
        if (op.kind == Kind::kLineTo && op.color == color) lines.push_back(op);
    }
    return lines;
}

std::size_t RecordingCanvas::Find(Kind kind, std::size_t from) const {
    for (std::size_t i = from; i < ops_.size(); ++i) {
        if (ops_[i].kind == kind) return i;
    }
    return ops_.size();
}

std::string RecordingCanvas::Listing(std::size_t from, std::size_t count) const {
    static const char* const kNames[] = {"pen", "move", "line", "rect", "text"};
    std::ostringstream out;
    for (std::size_t i = from; i < ops_.size() && i < from + count; ++i) {
        const Op& op = ops_[i];
        out << i << ' ' << kNames[static_cast<int>(op.kind)] << ' ' << op.x1 << ',' << op.y1;
        if (op.kind == Kind::kLineTo || op.kind == Kind::kRectangle) {
            out << ' ' << op.x2 << ',' << op.y2;
        }
        out << " rgb(" << int{op.color.r} << ',' << int{op.color.g} << ',' << int{op.color.b}
            << ") " << op.text << '\n';
    }
    return out.str();
}

TextExtent RecordingCanvas::MeasureText(const char* text) {
    return {kCharWidth * static_cast<int>(std::string_view(text).size()), kLineHeight};
}

}  // namespace velmora
