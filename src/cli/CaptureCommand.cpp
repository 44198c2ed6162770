#include "cli/CaptureCommand.h"

#include <algorithm>
#include <cstdio>

#include "capture/CaptureCsv.h"
#include "cli/CaptureOptions.h"
#include "cli/CaptureOutputs.h"
#include "cli/CapturePorts.h"
#include "cli/CaptureSettings.h"
#include "cli/HeadlessSession.h"

namespace velmora {
namespace {

constexpr const char* kProgram = "velmora-capture";

int Usage(const std::string& error) {
    std::fprintf(stderr, "%s: %s\n%s\n", kProgram, error.c_str(), CaptureUsageLine());
    return kExitUsage;
}

int Failed(const std::string& error) {
    std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
    return kExitFailed;
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
    Capture(const CaptureOptions& options, CommandSystem& system, SettingsStore& settings,
            CapturePorts& ports)
        : o_(options), system_(system), session_(kProgram, system, settings, ports) {}

    int Run(CaptureOutputs& outputs, const std::array<std::optional<int>, 2>& ranges) {
        return Finish(outputs, Take(outputs, ranges));
    }

  private:
    // Start-up, the settings, then frames until the capture ends.
    int Take(CaptureOutputs& outputs, const std::array<std::optional<int>, 2>& ranges) {
        std::string error;
        if (!session_.Start(error)) return Failed(error);
        TForm2& form = session_.Form();
        const uint32_t stale = std::max(session_.StartUpStale(), ApplySettings(form, o_, ranges));
        start_ = session_.NowMicros();
        session_.NoteFrame();
        form.onFrameShown = [&](const FrameRecord& r) {
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
    double Elapsed() const { return (session_.NowMicros() - start_) / 1e6; }

    void Keep(CaptureOutputs& outputs, const FrameRecord& record) {
        ++kept_;
        session_.NoteFrame();
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
        std::optional<int64_t> until;
        if (o_.seconds) until = start_ + static_cast<int64_t>(*o_.seconds * 1e6);
        switch (session_.RunTicks([&] { return Done(); }, until)) {
            case HeadlessSession::Outcome::kInterrupted:
                return Stop(kExitInterrupted);
            case HeadlessSession::Outcome::kSilent:
                return Stopped(session_.WhyNoFrames());
            case HeadlessSession::Outcome::kTimeUp:
            case HeadlessSession::Outcome::kDone:
                break;
        }
        if (o_.seconds && kept_ == 0) return Stopped("none in the time asked for");
        return Stop(kExitDone);
    }

    int Stopped(const std::string& why) {
        Stop(kExitFailed);
        const std::string asked = o_.seconds ? "" : " of " + std::to_string(o_.frames);
        std::fprintf(stderr, "%s: frames stopped arriving from %s (%s): %d%s arrived\n", kProgram,
                     session_.Port().name.c_str(), why.c_str(), kept_, asked.c_str());
        return kExitFailed;
    }

    // Ends the progress line, if there is one, before the command ends.
    int Stop(int status) {
        if (progressShown_) std::fputc('\n', stderr);
        progressShown_ = false;
        return status;
    }

    const CaptureOptions& o_;
    CommandSystem& system_;
    HeadlessSession session_;
    int64_t start_ = 0;
    int kept_ = 0;
    bool progressShown_ = false;
    std::string error_;
};

}  // namespace

int RunCaptureCommand(int argc, const char* const* argv, CommandSystem& system) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) return Usage(error);
    if (options.help || options.version) {
        if (options.help) std::fputs(CaptureHelp(), stdout);
        if (!options.help) std::printf("%s %s\n", kProgram, VelmoraVersion());
        return kExitDone;
    }
    if (options.listPorts) return ListPorts(kProgram, system.ports);

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
