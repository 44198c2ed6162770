#pragma once

#include <cstdint>

namespace velmora {

// A moment on the local calendar, with the offset of local time from UTC then
// (east positive), so that a file stamped with it names one instant.
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int32_t utcOffsetMinutes = 0;
};

// The calendar clock, for stamping what the program writes for people and
// other programs. Never used for time-outs (see Clock). UI thread only.
class WallClock {
  public:
    virtual ~WallClock() = default;
    virtual LocalTime Now() = 0;
};

}  // namespace velmora
