#include "system/win32/Win32WallClock.h"

#include <windows.h>

namespace velmora {

// The bias is what UTC is ahead of local time, in minutes; whether daylight
// saving time is in force decides which of the zone's two extra biases adds.
LocalTime Win32WallClock::Now() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    TIME_ZONE_INFORMATION zone{};
    LONG bias = 0;
    switch (GetTimeZoneInformation(&zone)) {
        case TIME_ZONE_ID_STANDARD:
            bias = zone.Bias + zone.StandardBias;
            break;
        case TIME_ZONE_ID_DAYLIGHT:
            bias = zone.Bias + zone.DaylightBias;
            break;
        case TIME_ZONE_ID_UNKNOWN:
            bias = zone.Bias;
            break;
        default:  // TIME_ZONE_ID_INVALID: no rules known, taken as UTC
            break;
    }
    return LocalTime{local.wYear,
                     local.wMonth,
                     local.wDay,
                     local.wHour,
                     local.wMinute,
                     local.wSecond,
                     static_cast<int32_t>(-bias)};
}

}  // namespace velmora
