#pragma once

#include <string>
#include <vector>

#include "app/TForm2.h"
#include "controls/NullCanvas.h"
#include "support/FakeOutputFiles.h"
#include "support/FakeSerialPort.h"
#include "support/FakeSettingsStore.h"
#include "support/VirtualClock.h"

namespace velmora::test {

class RecordingErrors final : public ErrorReporter {
  public:
    std::vector<std::string> messages;
    void ShowError(const std::string& message) override { messages.push_back(message); }
};

// A whole window on fakes: scripted ports, in-memory settings, virtual time.
// Header-only so that only tests of the window's core pull in the core library.
struct FormFixture {
    VirtualClock clock;
    FakeSerialPorts ports{clock};
    FakeSettingsStore settings;
    NullCanvas nullCanvas;
    Canvas* canvas = &nullCanvas;
    RecordingErrors errors;
    FixedWallClock wallClock;
    FakeOutputFiles files;

    TForm2& Form() {
        if (!form)
            form = std::make_unique<TForm2>(
                FormServices{ports, settings, clock, *canvas, errors, wallClock, files});
        return *form;
    }
    std::unique_ptr<TForm2> form;
};

}  // namespace velmora::test
