#pragma once

#include "controls/Memo.h"
#include "settings/SettingsPanel.h"
#include "system/SettingsStore.h"

namespace velmora {

// The settings file, relative to the current directory.
inline constexpr const char* kConfigFileName = "Config.Ini";

// Reads the settings file into the controls, line by line, at start-up.
// Logs "Reading config", each line's text followed by "!", and "End config";
// each value is applied as soon as its line is read, so a bar that moves
// sends its sync command between the lines. The file is positional: keys are
// never compared. When the file ends early the remaining controls keep their
// values. When it cannot be opened nothing is read and nothing is logged.
void ReadConfig(SettingsStore& store, SettingsPanel& panel, Memo& display);

// Writes the 18 lines from the controls' current state (and the port's path
// on the port line), one write per line, CR LF endings on every system.
// A file that cannot be created or written is left as it was, silently.
void WriteConfig(SettingsStore& store, const SettingsPanel& panel, const char* commPath);

}  // namespace velmora
