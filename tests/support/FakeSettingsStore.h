#pragma once

#include <map>
#include <memory>
#include <string>

#include "system/SettingsStore.h"

namespace velmora::test {

// Settings files in memory. `held` makes every open fail, as a file another
// process holds exclusively does; `readOnly` makes only the writer's open fail.
class FakeSettingsStore final : public SettingsStore {
  public:
    std::map<std::string, std::string> files;
    bool held = false;
    bool readOnly = false;

    std::unique_ptr<SettingsReader> OpenForRead(const char* name) override;
    std::unique_ptr<SettingsWriter> OpenForWrite(const char* name) override;
    std::string LastFailure() const override {
        return held ? "another program has it open" : "Permission denied";
    }
    std::string PathOf(const char* name) const override { return std::string("/home/u/") + name; }
};

}  // namespace velmora::test
