#include "cli/CaptureCommand.h"

#include <algorithm>
#include <cstdio>

#include "capture/CaptureCsv.h"
#include "cli/CaptureOptions.h"
#include "cli/CaptureOutputs.h"
#include "cli/CapturePorts.h"
#include "cli/CaptureSettings.h"
#include "cli/CommandMessages.h"
#include "cli/HeadlessSession.h"

namespace velmora {
namespace {

constexpr const char* kProgram = "velmora-capture";

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
            CapturePorts& ports, CommandMessages& say)
        : o_(options), say_(say), session_(kProgram, system, settings, ports) {}

    int Run(CaptureOutputs& outputs, const std::array<std::optional<int>, 2>& ranges) {
        return Finish(outputs, Take(outputs, ranges));
    }

  private:
    // Start-up, the settings, then frames until the capture ends.
    int Take(CaptureOutputs& outputs, const std::array<std::optional<int>, 2>& ranges) {
        std::string error;
        if (!session_.Start(error)) return say_.Failed(error);
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
        const std::string kept = error_.empty() ? std::string() : outputs.Kept();
        return say_.Finished(status, error_, kept, outputs.Finish());
    }

    bool Done() const { return !error_.empty() || (!o_.seconds && kept_ >= o_.frames); }
    double Elapsed() const { return (session_.NowMicros() - start_) / 1e6; }

    void Keep(CaptureOutputs& outputs, const FrameRecord& record) {
        ++kept_;
        session_.NoteFrame();
        if (!outputs.Add(record, kept_, Elapsed(), error_)) return;
        char text[96];
        if (o_.seconds) {
            std::snprintf(text, sizeof text, "frames %d, %.1f of %g s", kept_, Elapsed(),
                          *o_.seconds);
        } else {
            std::snprintf(text, sizeof text, "frames %d of %d, %.1f s", kept_, o_.frames,
                          Elapsed());
        }
        say_.Progress(text);
    }

    int Loop() {
        std::optional<int64_t> until;
        if (o_.seconds) until = start_ + static_cast<int64_t>(*o_.seconds * 1e6);
        switch (session_.RunTicks([&] { return Done(); }, until)) {
            case HeadlessSession::Outcome::kInterrupted:
                return kExitInterrupted;
            case HeadlessSession::Outcome::kSilent:
                return Stopped(session_.WhyNoFrames());
            case HeadlessSession::Outcome::kTimeUp:
            case HeadlessSession::Outcome::kDone:
                break;
        }
        if (o_.seconds && kept_ == 0) return Stopped("none in the time asked for");
        return kExitDone;
    }

    int Stopped(const std::string& why) {
        const std::string asked = o_.seconds ? "" : " of " + std::to_string(o_.frames);
        return say_.Failed("frames stopped arriving from " + session_.Port().name + " (" + why +
                           "): " + std::to_string(kept_) + asked + " arrived");
    }

    const CaptureOptions& o_;
    CommandMessages& say_;
    HeadlessSession session_;
    int64_t start_ = 0;
    int kept_ = 0;
    std::string error_;
};

}  // namespace

int RunCaptureCommand(int argc, const char* const* argv, CommandSystem& system) {
    CommandMessages say(kProgram, CaptureUsageLine(), system.progressOnTerminal);
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) return say.Usage(error);
    if (options.help || options.version) return say.Informational(options.help, CaptureHelp());
    if (options.listPorts) return ListPorts(kProgram, system.ports);
    say.SetQuiet(options.quiet);

    ReadOnlySettings settings;
    if (!options.settingsPath.empty() && !settings.Load(options.settingsPath, error)) {
        return say.Usage("cannot read " + options.settingsPath + ": " + error);
    }
    std::array<std::optional<int>, 2> ranges{};
    const auto probes =
        ProbesInForce(options, settings, system.clock, system.wallClock, system.files);
    if (!CheckRanges(options, probes, ranges, error)) return say.Usage(error);

    CaptureOutputs outputs;
    if (!outputs.Open(options, system.files, system.standardOutput, error)) {
        return say.Failed(error);
    }
    CapturePorts ports(system.ports, ResolvePort(options.port, system.ports, system.devicePath));
    Capture capture(options, system, settings, ports, say);
    return capture.Run(outputs, ranges);
}

}  // namespace velmora
