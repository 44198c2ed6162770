#pragma once

#include <sys/types.h>

#include <cstdint>

namespace velmora::bench {

// What the running process holds of the machine: its resident memory and its
// open file descriptors, as Linux reports them under /proc/self.
struct ProcessSample {
    int64_t residentKiB = -1;  // -1 when /proc could not be read
    int descriptors = -1;
};

ProcessSample SampleProcess();

// The processor time a process has used so far, all its threads (also those
// that have ended), with its thread count and resident memory now. From
// /proc/<pid>/stat, so in clock ticks (10 ms); for this process itself from
// getrusage, in microseconds. `valid` is false once the process is gone.
struct CpuSample {
    bool valid = false;
    double userSeconds = 0;
    double systemSeconds = 0;
    int threads = 0;
    int64_t residentKiB = 0;
};

CpuSample SampleCpu(pid_t pid);
CpuSample SampleOwnCpu();

}  // namespace velmora::bench
