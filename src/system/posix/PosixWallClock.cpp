#include "system/posix/PosixWallClock.h"

#include <ctime>

namespace velmora {

LocalTime PosixWallClock::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return LocalTime{};
    return LocalTime{local.tm_year + 1900,
                     local.tm_mon + 1,
                     local.tm_mday,
                     local.tm_hour,
                     local.tm_min,
                     local.tm_sec,
                     static_cast<int32_t>(local.tm_gmtoff / 60)};
}

}  // namespace velmora
