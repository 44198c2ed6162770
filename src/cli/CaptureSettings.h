#pragma once

#include <memory>
#include <string>

#include "app/TForm2.h"
#include "cli/CaptureOptions.h"
#include "system/SettingsStore.h"

namespace velmora {

// A settings file read once into memory and never written: the capture
// command starts from a Config.Ini the window wrote and leaves it as it is.
// Without a file every read finds none, so start-up keeps its own values.
class ReadOnlySettings final : public SettingsStore {
  public:
    // False with the system's reason when `path` cannot be read.
    bool Load(const std::string& path, std::string& error);
    std::unique_ptr<SettingsReader> OpenForRead(const char* name) override;
    std::unique_ptr<SettingsWriter> OpenForWrite(const char*) override { return nullptr; }

  private:
    bool loaded_ = false;
    std::string bytes_;
};

// The probes (list indexes) the capture will run with: the options', or
// those start-up leaves from the settings file. Found by running start-up
// on a form without a port, so that no byte reaches the instrument before
// every option is known to be good.
std::array<int, 2> ProbesInForce(const CaptureOptions& options, SettingsStore& settings,
                                 Clock& clock, WallClock& wallClock, OutputFiles& files);

// Applies the options' instrument settings through the handlers a user's
// clicks run, in a fixed order: sweep, probes, ranges, one sync command for
// every trigger option, generators. `rangeIndex` holds the checked ranges.
// Returns the number of data requests sent before the last setting went out:
// a frame answering one of those was not taken with every setting.
uint32_t ApplySettings(TForm2& form, const CaptureOptions& options,
                       const std::array<std::optional<int>, 2>& rangeIndex);

}  // namespace velmora
