#pragma once

#include <string>

namespace velmora {

// `path` still names the file open on `fd`, not one put there since: the
// check before a program removes a file it made.
bool NamesOpenFile(int fd, const std::string& path);

}  // namespace velmora
