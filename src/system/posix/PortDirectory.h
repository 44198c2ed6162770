#pragma once

#include <string>

namespace velmora {

// The per-user directory in which programs that act as serial devices (the
// virtual instrument) publish a symbolic link to their pseudo-terminal:
// $XDG_RUNTIME_DIR/velmora/ports, or /tmp/velmora-<uid>/ports where that
// variable is unset or empty. Discovery lists the links found there.
std::string PortDirectory();

// Creates the directory and its parent (mode 0700) when missing. Returns false
// when it cannot be created or is not a directory.
bool EnsurePortDirectory();

}  // namespace velmora
