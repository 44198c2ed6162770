#pragma once

#include <string>

namespace velmora {

// The user's documents folder, where a first save proposes to go: the XDG
// documents folder as xdg-user-dir reads it ($XDG_DOCUMENTS_DIR, else the
// XDG_DOCUMENTS_DIR line of user-dirs.dirs in $XDG_CONFIG_HOME or
// ~/.config, "$HOME/" at its start meaning the home folder), when that is
// a folder that exists; else the home folder ($HOME, else the account's);
// empty without either.
std::string DocumentsFolder();

}  // namespace velmora
