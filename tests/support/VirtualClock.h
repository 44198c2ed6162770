#pragma once

#include <cstdint>

#include "system/Clock.h"

namespace velmora::test {

// A clock that moves only when told: the fake port advances it by the time a
// real read would have taken, so bounds in microseconds are testable at once.
class VirtualClock final : public Clock {
  public:
    int64_t NowMicros() override { return now_; }
    void Advance(int64_t micros) { now_ += micros; }

  private:
    int64_t now_ = 1'000'000;
};

}  // namespace velmora::test
