#pragma once

#include "system/WallClock.h"

namespace velmora {

// Local time from the C library's time zone rules (TZ, /etc/localtime).
class PosixWallClock final : public WallClock {
  public:
    LocalTime Now() override;
};

}  // namespace velmora
