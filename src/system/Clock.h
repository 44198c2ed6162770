#pragma once

#include <cstdint>

namespace velmora {

// Monotonic time for the bounds the UI thread keeps on its own loops. Tests
// substitute a virtual clock so no test sleeps through a real time-out.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual int64_t NowMicros() = 0;
};

class SteadyClock final : public Clock {
  public:
    int64_t NowMicros() override;
};

}  // namespace velmora
