#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "controls/Canvas.h"

namespace velmora {

// A canvas for tests: keeps every drawing call in order, with the pen colour
// in force and, for a line, the point it starts from. Nothing is drawn.
class RecordingCanvas final : public Canvas {
  public:
    enum class Kind { kPen, kMoveTo, kLineTo, kRectangle, kText };

    struct Op {
        Kind kind = Kind::kPen;
        int x1 = 0, y1 = 0;  // MoveTo/TextOut point, LineTo start, Rectangle corner
        int x2 = 0, y2 = 0;  // LineTo end, Rectangle opposite corner
        Rgb color;           // the pen (for kPen: the colour set)
        std::string text;
    };

    void SetPenColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const char* text) override;
    void SetTextColor(Rgb color) override { textColor_ = color; }
    // Every character as wide as kCharWidth, a line kLineHeight high.
    static constexpr int kCharWidth = 6;
    static constexpr int kLineHeight = 13;
    TextExtent MeasureText(const char* text) override;
    Rgb TextColor() const { return textColor_; }

    const std::vector<Op>& Ops() const { return ops_; }
    // Forgets the calls but keeps the pen, the current point and the storage.
    void Clear() { ops_.clear(); }

    std::size_t Count(Kind kind) const;
    std::vector<std::string> Texts() const;
    // The lines drawn with `color`, in order.
    std::vector<Op> LinesIn(Rgb color) const;
    // Index of the first call of `kind` at or after `from`, or Ops().size().
    std::size_t Find(Kind kind, std::size_t from = 0) const;
    // A compact one-line-per-call listing, for failure messages.
    std::string Listing(std::size_t from, std::size_t count) const;

  private:
    std::vector<Op> ops_;
    Rgb pen_;
    Rgb textColor_;
    int x_ = 0, y_ = 0;
};

}  // namespace velmora
