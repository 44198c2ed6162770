#pragma once

#include <functional>

namespace velmora {

// A periodic timer. The binding calls `onTick` every `interval` ms on the UI
// thread; ticks that fall due while one runs are not queued.
class Timer {
  public:
    explicit Timer(int intervalMs) : interval_(intervalMs) {}

    std::function<void()> onTick;

    int Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

  private:
    int interval_;
    bool enabled_ = true;
};

}  // namespace velmora
