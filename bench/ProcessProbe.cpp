#include "ProcessProbe.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>

namespace velmora::bench {
namespace {

// The second field of statm is the resident set in pages.
int64_t ResidentKiB() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (file == nullptr) return -1;
    long long size = 0;
    long long resident = 0;
    const int fields = std::fscanf(file, "%lld %lld", &size, &resident);
    std::fclose(file);
    if (fields != 2) return -1;
    return static_cast<int64_t>(resident) * (sysconf(_SC_PAGESIZE) / 1024);
}

// Entries of /proc/self/fd, less the one the listing itself holds open.
int Descriptors() {
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') ++count;
    }
    closedir(dir);
    return count - 1;
}

}  // namespace

ProcessSample SampleProcess() { return ProcessSample{ResidentKiB(), Descriptors()}; }

}  // namespace velmora::bench
