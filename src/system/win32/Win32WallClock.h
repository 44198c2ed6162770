#pragma once

#include "system/WallClock.h"

namespace velmora {

// Local time and its offset from UTC as Windows' time zone settings give them.
class Win32WallClock final : public WallClock {
  public:
    LocalTime Now() override;
};

}  // namespace velmora
