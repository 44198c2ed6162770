#include "ProcessProbe.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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

// The fields of stat after the command name, which is in parentheses and may
// hold spaces: state is field 3, utime 14, stime 15, num_threads 20, rss 24.
CpuSample SampleCpu(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line) || line.rfind(')') == std::string::npos) return {};
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string field;
    long long values[25] = {};
    for (int n = 3; n <= 24 && fields >> field; ++n) values[n] = std::atoll(field.c_str());
    if (!fields) return {};
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    return CpuSample{true, static_cast<double>(values[14]) / tick,
                     static_cast<double>(values[15]) / tick, static_cast<int>(values[20]),
                     static_cast<int64_t>(values[24]) * (sysconf(_SC_PAGESIZE) / 1024)};
}

CpuSample SampleOwnCpu() {
    CpuSample sample = SampleCpu(getpid());
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return sample;
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    sample.userSeconds = seconds(usage.ru_utime);
    sample.systemSeconds = seconds(usage.ru_stime);
    return sample;
}

}  // namespace velmora::bench
