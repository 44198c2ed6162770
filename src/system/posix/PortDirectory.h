#pragma once

#include <string>

namespace velmora {

// The per-user directory in which programs that act as serial devices (the
// virtual instrument) publish a symbolic link to their pseudo-terminal:
// $XDG_RUNTIME_DIR/velmora/ports, or /tmp/velmora-<uid>/ports where that
// variable is unset or empty. Discovery lists the links found there.
std::string PortDirectory();

// The one check that both sides apply before they trust a directory on the
// way to the port links: the instrument before it publishes its link, the
// port list before it reads one. In the shared /tmp another local user could
// create /tmp/velmora-<uid> first and plant links to devices of theirs, which
// the window would list and, as the last entry, open at its first start.
// Returns an empty text when `path` is a real directory (not a symbolic
// link) owned by this user and closed to all others (mode 0700 or less);
// otherwise why not, naming the path ("/tmp/velmora-1000 is owned by uid
// 1001, not by uid 1000").
std::string PrivateDirectoryFault(const std::string& path);

// Creates the directory and its parent (mode 0700) when missing. Returns false
// when either cannot be created or fails PrivateDirectoryFault; `why` (when
// given) then says which and why.
bool EnsurePortDirectory(std::string* why = nullptr);

}  // namespace velmora
