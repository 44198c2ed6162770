#pragma once

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "instrument/VirtualInstrument.h"
#include "support/FormFixture.h"
#include "system/posix/PosixSerialPorts.h"

namespace velmora::test {

// The window's core with the real termios port, against the virtual
// instrument on a real pseudo-terminal registered in a private port
// directory. Used by the integration tests and the acquisition and soak benchmarks. Discovery sees
// no real devices, so the instrument is the only (and last) port, as on a machine without hardware;
// a test may give the machine devices in Root()/sys and Root()/dev.
class InstrumentSession {
  public:
    explicit InstrumentSession(const InstrumentOptions& options) {
        char pattern[] = "/tmp/velmora-itXXXXXX";
        runtime_ = mkdtemp(pattern);
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        started_ = StartInstrument(options);
        ports_ = std::make_unique<PosixSerialPorts>(
            PortDiscovery(runtime_ + "/sys", "", runtime_ + "/dev"));
        form_ = std::make_unique<TForm2>(
            FormServices{*ports_, settings_, clock_, canvas_, errors_, wallClock_, files_});
    }
    ~InstrumentSession() {
        form_.reset();
        instrument_.reset();
        std::filesystem::remove_all(runtime_);
    }

    // Unplugs the instrument: its pseudo-terminal and its link go away, and a
    // port the window holds on it is left hung up.
    void StopInstrument() { instrument_.reset(); }
    // Plugs in a (fresh) instrument with `options`, after stopping any that
    // runs. Its link gets the first free name, so the one of the instrument it
    // replaces. False (with the reason in Error()) when it could not start.
    bool StartInstrument(const InstrumentOptions& options) {
        instrument_.reset();
        instrument_ = std::make_unique<VirtualInstrument>(options);
        if (instrument_->Start(error_)) return true;
        instrument_.reset();
        return false;
    }

    // False (with the reason in Error()) when the instrument could not start.
    bool Started() const { return started_; }
    const std::string& Error() const { return error_; }
    TForm2& Form() { return *form_; }
    // Needs a running instrument.
    VirtualInstrument& Instrument() { return *instrument_; }
    RecordingErrors& Errors() { return errors_; }
    FakeSettingsStore& Settings() { return settings_; }
    const std::string& Root() const { return runtime_; }

    // Runs ticks until `frames` more frames have completed or `maxTicks` ran.
    int TicksUntilFrames(uint32_t frames, int maxTicks) {
        const uint32_t target = form_->Receive().framesReceived + frames;
        int ticks = 0;
        while (form_->Receive().framesReceived < target && ticks < maxTicks) {
            form_->Timer1Timer();
            ++ticks;
        }
        return ticks;
    }

  private:
    std::string runtime_;
    std::string error_;
    std::unique_ptr<VirtualInstrument> instrument_;
    bool started_ = false;
    std::unique_ptr<PosixSerialPorts> ports_;
    FakeSettingsStore settings_;
    SteadyClock clock_;
    NullCanvas canvas_;
    RecordingErrors errors_;
    FixedWallClock wallClock_;
    FakeOutputFiles files_;
    std::unique_ptr<TForm2> form_;
};

}  // namespace velmora::test
