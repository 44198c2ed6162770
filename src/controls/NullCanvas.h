#pragma once

#include "controls/Canvas.h"

namespace velmora {

// A surface that draws nothing: for running the window's core without a
// picture (benchmarks of acquisition, tests that do not look at drawing).
class NullCanvas final : public Canvas {
  public:
    void SetPenColor(Rgb) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Rectangle(int, int, int, int) override {}
    void TextOut(int, int, const char*) override {}
    void SetTextColor(Rgb) override {}
    TextExtent MeasureText(const char*) override { return {}; }
};

}  // namespace velmora
