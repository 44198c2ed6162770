#pragma once

#include <iterator>
#include <string>

#include "controls/Memo.h"
#include "settings/ConfigLine.h"
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
// Returns the path the port line stores after its index (empty for a file
// without one, or without a port line); `whole` is false when the line was
// longer than a line may be, so that its path was cut.
struct StoredPortPath {
    std::string path;
    bool whole = true;
};

// The longest path the port line holds whole with no port selected ("ComPt
// -1", 16 blanks, the path): a stored path that is not opened is kept to
// this, so that the file the window writes reads back the same.
inline constexpr std::size_t kLongestUnselectedPortPath =
    (kConfigLineChars - 1) - (std::size("ComPt -1                ") - 1);  // 65
StoredPortPath ReadConfig(SettingsStore& store, SettingsPanel& panel, Memo& display);

// Writes the 18 lines from the controls' current state (and the port's path
// on the port line), one write per line, CR LF endings on every system.
// Returns empty text when the file was written, else what went wrong, with
// the file's path and the system's reason; a file that cannot be created is
// left as it was.
std::string WriteConfig(SettingsStore& store, const SettingsPanel& panel, const char* commPath);

}  // namespace velmora
