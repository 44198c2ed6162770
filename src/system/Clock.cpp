#include "system/Clock.h"

#include <chrono>

namespace velmora {

int64_t SteadyClock::NowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace velmora
