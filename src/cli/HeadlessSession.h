#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/TForm2.h"
#include "cli/CapturePorts.h"
#include "cli/CommandSystem.h"
#include "controls/NullCanvas.h"

namespace velmora {

// The window's core without a window, for the command-line programs: the
// form on a null canvas with the one port of the command line, its start-up
// as the window runs it, every setting through the handler a user's click
// runs, and its 200 ms timer. Errors the form would show go to standard
// error under the program's name.
class HeadlessSession {
  public:
    // How a run of ticks ended.
    enum class Outcome { kDone, kInterrupted, kTimeUp, kSilent };

    HeadlessSession(const char* program, CommandSystem& system, SettingsStore& settings,
                    CapturePorts& ports);

    TForm2& Form() { return form_; }
    const PortEntry& Port() const { return port_; }
    int64_t NowMicros() const { return system_.clock.NowMicros(); }

    // Start-up; false with the reason in `error` when the port did not open
    // or is not a serial port (closed before a byte was written to it).
    bool Start(std::string& error);
    // Frames answering requests up to this one were asked for before
    // start-up's last setting went out (start-up ends with one more request).
    uint32_t StartUpStale() const { return startUpStale_; }

    // Runs `event` through the form's dispatcher (an error shows on standard
    // error and the session goes on), returning the number of data requests
    // sent before it: a frame answering one of those was not taken after it.
    uint32_t Apply(const std::function<void()>& event);

    // Timer ticks every 200 ms until `done` holds (checked before each tick),
    // Ctrl+C, the clock reaches `untilMicros`, or no frame was noted for 5 s.
    Outcome RunTicks(const std::function<bool()>& done,
                     std::optional<int64_t> untilMicros = std::nullopt);
    // A frame the command takes: the silence watch starts again.
    void NoteFrame();
    // Why no frame came since the last one noted, in the words the window's
    // picture uses: "disconnected", "no answer for 5 s", "answers that are
    // not frames: N bytes, no frame marker".
    std::string WhyNoFrames() const;

  private:
    class StderrErrors final : public ErrorReporter {
      public:
        explicit StderrErrors(const char* program) : program_(program) {}
        void ShowError(const std::string& message) override;

      private:
        const char* program_;
    };

    CommandSystem& system_;
    NullCanvas canvas_;
    StderrErrors errors_;
    TForm2 form_;
    PortEntry port_;
    int64_t nextTick_ = 0;
    int64_t lastFrame_ = 0;
    uint64_t bytesAtFrame_ = 0;  // the link's byte count at the last frame noted
    bool markerSince_ = false;   // a frame's header came in since then
    uint32_t startUpStale_ = 0;
};

}  // namespace velmora
