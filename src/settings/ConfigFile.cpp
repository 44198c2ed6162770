#include "settings/ConfigFile.h"

#include <cstdio>
#include <memory>
#include <string>

#include "settings/ConfigLine.h"

namespace velmora {
namespace {

// Key, an 11-character number, 16 blanks, an 80-byte path and CR LF fit.
constexpr std::size_t kConfigLineBytes = 128;
constexpr int kComPortSlot = 3;

std::size_t FormatSetting(char (&buffer)[kConfigLineBytes], int slot, int32_t value,
                          const char* commPath) {
    const char* format = SettingsPanel::Template(slot);
    // The templates are constants of this subsystem, each with one %d and the
    // port line with a %s after it, so the arguments always match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const int n = slot == kComPortSlot
                      ? std::snprintf(buffer, sizeof buffer, format, value, commPath)
                      : std::snprintf(buffer, sizeof buffer, format, value);
#pragma GCC diagnostic pop
    if (n < 0) return 0;
    return static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n)
                                                       : sizeof buffer - 1;
}

}  // namespace

StoredPortPath ReadConfig(SettingsStore& store, SettingsPanel& panel, Memo& display) {
    StoredPortPath stored;
    const std::unique_ptr<SettingsReader> file = store.OpenForRead(kConfigFileName);
    if (!file) return stored;
    display.Append("Reading config");
    for (int slot = 0; slot < kConfigSettings; ++slot) {
        const std::optional<ConfigLine> line = ReadConfigLine(*file);
        if (!line) break;  // the file ended: the rest keep their values
        display.Append(std::string(line->text, line->length) + "!");
        panel.Apply(slot, ConfigLineValue(*line));
        if (slot == kComPortSlot) stored = StoredPortPath{ConfigLinePath(*line), !line->cut};
    }
    display.Append("End config");
    return stored;
}

std::string WriteConfig(SettingsStore& store, const SettingsPanel& panel, const char* commPath) {
    const std::unique_ptr<SettingsWriter> file = store.OpenForWrite(kConfigFileName);
    const std::string failed =
        "Cannot save the settings in " + store.PathOf(kConfigFileName) + ": ";
    if (!file) return failed + store.LastFailure();
    char buffer[kConfigLineBytes];
    for (int slot = 0; slot < kConfigSettings; ++slot) {
        const std::size_t length = FormatSetting(buffer, slot, panel.Value(slot), commPath);
        if (!file->Write(buffer, length)) return failed + file->Failure();
    }
    return {};
}

}  // namespace velmora
