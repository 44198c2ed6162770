#pragma once

#include <cstdint>

namespace velmora::bench {

// What the running process holds of the machine: its resident memory and its
// open file descriptors, as Linux reports them under /proc/self.
struct ProcessSample {
    int64_t residentKiB = -1;  // -1 when /proc could not be read
    int descriptors = -1;
};

ProcessSample SampleProcess();

}  // namespace velmora::bench
