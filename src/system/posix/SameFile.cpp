#include "system/posix/SameFile.h"

#include <sys/stat.h>

namespace velmora {

bool NamesOpenFile(int fd, const std::string& path) {
    struct stat open {
    }, named{};
    return fstat(fd, &open) == 0 && lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace velmora
