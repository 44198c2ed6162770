#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::testing {

inline std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline std::string Text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs `program args` through the shell with standard output discarded; its
// exit status (-1 when it did not exit), its standard error in `err`.
inline int RunProgram(const std::string& program, const std::string& args,
                      const std::string& errPath, std::string& err) {
    const std::string command = "exec " + program + " " + args + " 2>" + errPath + " >/dev/null";
    const int status = std::system(command.c_str());
    err = Text(errPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace velmora::testing
