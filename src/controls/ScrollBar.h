#pragma once

#include <functional>

namespace velmora {

// A scroll bar. Every position, whether the user or the program sets it, is
// clamped into [min, max]; whenever the position changes `onChange` runs, once
// per new position.
class ScrollBar {
  public:
    ScrollBar(int min, int max, int position) : min_(min), max_(max), position_(position) {}

    std::function<void()> onChange;
    std::function<void()> onChanged;  // binding mirror

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetPosition(int position);

  private:
    int min_;
    int max_;
    int position_;
};

}  // namespace velmora
