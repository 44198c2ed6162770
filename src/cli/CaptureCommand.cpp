#include "cli/CaptureCommand.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/TForm2.h"
#include "capture/CaptureCsv.h"
#include "cli/CaptureOptions.h"
#include "cli/CaptureOutputs.h"
#include "cli/CapturePorts.h"
#include "cli/CaptureSettings.h"
#include "controls/NullCanvas.h"

namespace velmora {
namespace {

// No complete frame for this long: the instrument has stopped answering.
constexpr int64_t kSilenceMicros = 5'000'000;

class StderrErrors final : public ErrorReporter {
  public:
    void ShowError(const std::string& message) override {
        std::fprintf(stderr, "velmora-capture: %s\n", message.c_str());
    }
};

int Usage(const std::string& error) {
    std::fprintf(stderr, "velmora-capture: %s\n%s\n", error.c_str(), CaptureUsageLine());
    return kCaptureUsage;
}

int Failed(const std::string& error) {
    std::fprintf(stderr, "velmora-capture: %s\n", error.c_str());
    return kCaptureFailed;
}

int ListPorts(SerialPorts& ports) {
    for (const PortEntry& entry : ports.Discover()) {
        std::printf("%s %s\n", entry.name.c_str(), entry.path.c_str());
    }
    for (const std::string& note : ports.DiscoveryNotes()) {
        std::fprintf(stderr, "velmora-capture: %s\n", note.c_str());
    }
    return kCaptureDone;
}

// The range indexes of the options, checked against the probes in force.
bool CheckRanges(const CaptureOptions& o, const std::array<int, 2>& probes,
                 std::array<std::optional<int>, 2>& index, std::string& error) {
    for (std::size_t ch = 0; ch < 2; ++ch) {
        if (!o.range[ch]) continue;
        index[ch] = RangeIndexFor(o.range[ch]->volts, probes[ch]);
        if (!index[ch]) {
            error = "a " + std::string(probes[ch] == 0 ? "x10" : "x1") + " probe has no range " +
                    std::to_string(o.range[ch]->volts) + " V on channel " + std::to_string(ch + 1);
            return false;
        }
    }
    return true;
}

// The capture proper, once every option is known to be good.
class Capture {
  public:
    Capture(const CaptureOptions& options, CaptureSystem& system, SettingsStore& settings,
            CapturePorts& ports)
        : o_(options),
          system_(system),
          form_(FormServices{ports, settings, system.clock, canvas_, errors_, system.wallClock,
                             system.files}),
          port_(ports.Port()) {
        form_.portFromSettingsFile = false;  // the port is the command line's
    }

    int Run(CaptureOutputs& outputs, const std::array<std::optional<int>, 2>& ranges) {
        return Finish(outputs, Take(outputs, ranges));
    }

  private:
    // Start-up, the settings, then frames until the capture ends.
    int Take(CaptureOutputs& outputs, const std::array<std::optional<int>, 2>& ranges) {
        form_.Dispatch([&] { form_.FormCreate(); });
        if (!form_.Link().Configured()) return PortFailed();
        const uint32_t stale = ApplySettings(form_, o_, ranges);
        start_ = lastFrame_ = system_.clock.NowMicros();
        form_.onFrameShown = [&](const FrameRecord& r) {
            if (r.request > stale && !Done()) Keep(outputs, r);
        };
        return Loop();
    }

    // However the capture ended, the files end at the last frame they all hold
    // whole (an existing file is replaced only now), and each failure is said.
    int Finish(CaptureOutputs& outputs, int status) {
        if (!error_.empty()) status = Failed(error_ + outputs.Kept());
        for (const std::string& failure : outputs.Finish()) status = Failed(failure);
        return status;
    }

    bool Done() const { return !error_.empty() || (!o_.seconds && kept_ >= o_.frames); }
    double Elapsed() const { return (system_.clock.NowMicros() - start_) / 1e6; }

    int PortFailed() {
        if (form_.Link().OpenFailed()) {
            return Failed("cannot open " + port_.name + " (" + port_.path +
                          "): " + system_.whyNotOpened(port_.path));
        }
        return Failed(port_.path + " opened but is no serial port that can be set up");
    }

    void Keep(CaptureOutputs& outputs, const FrameRecord& record) {
        ++kept_;
        lastFrame_ = system_.clock.NowMicros();
        if (!outputs.Add(record, kept_, Elapsed(), error_)) return;
        if (system_.progressOnTerminal && !o_.quiet) Progress();
    }

    void Progress() {
        progressShown_ = true;
        if (o_.seconds) {
            std::fprintf(stderr, "\rframes %d, %.1f of %g s", kept_, Elapsed(), *o_.seconds);
        } else {
            std::fprintf(stderr, "\rframes %d of %d, %.1f s", kept_, o_.frames, Elapsed());
        }
        std::fflush(stderr);
    }

    int Loop() {
        const int64_t interval = int64_t{form_.Timer1.Interval()} * 1000;
        int64_t next = system_.clock.NowMicros();
        while (!Done()) {
            const int64_t now = system_.clock.NowMicros();
            if (system_.interrupted) return Stop(kCaptureInterrupted);
            if (o_.seconds && now - start_ >= static_cast<int64_t>(*o_.seconds * 1e6)) break;
            if (now - lastFrame_ >= kSilenceMicros) return Stopped("none for 5 s");
            if (next > now) std::this_thread::sleep_for(std::chrono::microseconds(next - now));
            next = std::max(next + interval, system_.clock.NowMicros());
            if (system_.interrupted) return Stop(kCaptureInterrupted);
            form_.Dispatch([&] { form_.Timer1Timer(); });
        }
        if (o_.seconds && kept_ == 0) return Stopped("none in the time asked for");
        return Stop(kCaptureDone);
    }

    int Stopped(const char* why) {
        Stop(kCaptureFailed);
        const std::string asked = o_.seconds ? "" : " of " + std::to_string(o_.frames);
        std::fprintf(stderr,
                     "velmora-capture: frames stopped arriving from %s (%s): %d%s arrived\n",
                     port_.name.c_str(), why, kept_, asked.c_str());
        return kCaptureFailed;
    }

    // Ends the progress line, if there is one, before the command ends.
    int Stop(int status) {
        if (progressShown_) std::fputc('\n', stderr);
        progressShown_ = false;
        return status;
    }

    const CaptureOptions& o_;
    CaptureSystem& system_;
    NullCanvas canvas_;
    StderrErrors errors_;
    TForm2 form_;
    PortEntry port_;
    int64_t start_ = 0;
    int64_t lastFrame_ = 0;
    int kept_ = 0;
    bool progressShown_ = false;
    std::string error_;
};

}  // namespace

int RunCaptureCommand(int argc, const char* const* argv, CaptureSystem& system) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) return Usage(error);
    if (options.help || options.version) {
        if (options.help) std::fputs(CaptureHelp(), stdout);
        if (!options.help) std::printf("velmora-capture %s\n", VelmoraVersion());
        return kCaptureDone;
    }
    if (options.listPorts) return ListPorts(system.ports);

    ReadOnlySettings settings;
    if (!options.settingsPath.empty() && !settings.Load(options.settingsPath, error)) {
        return Usage("cannot read " + options.settingsPath + ": " + error);
    }
    std::array<std::optional<int>, 2> ranges{};
    const auto probes =
        ProbesInForce(options, settings, system.clock, system.wallClock, system.files);
    if (!CheckRanges(options, probes, ranges, error)) return Usage(error);

    CaptureOutputs outputs;
    if (!outputs.Open(options, system.files, system.standardOutput, error)) return Failed(error);
    CapturePorts ports(system.ports, ResolvePort(options.port, system.ports, system.devicePath));
    Capture capture(options, system, settings, ports);
    return capture.Run(outputs, ranges);
}

}  // namespace velmora
