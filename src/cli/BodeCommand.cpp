#include "cli/BodeCommand.h"

#include <charconv>
#include <cstdio>

#include "cli/BodeOptions.h"
#include "cli/BodeOutputs.h"
#include "cli/CaptureSettings.h"
#include "cli/CommandMessages.h"
#include "cli/HeadlessSession.h"
#include "link/SampleRate.h"

namespace velmora {
namespace {

constexpr const char* kProgram = "velmora-bode";
constexpr int kWaveformOff = 0;  // the generator list's "Off"
constexpr int kWaveformSine = 1;
constexpr int kTimeSweep = 1;  // the sweep list's "2 mSec/div"

// The shortest text that reads back as `value`, as a user would type it.
std::string NumberText(double value) {
    char text[32];
    const auto r = std::to_chars(text, text + sizeof text, value);
    return std::string(text, r.ptr);
}

// A ticked box is unticked first: ticking it is what sends its channel's setting.
void Tick(CheckBox& enable) {
    if (enable.Checked()) enable.UserClick();
    enable.UserClick();
}

// The sweep proper, once every option is known to be good.
class Bode final : public ResponseFrames {
  public:
    Bode(const BodeOptions& options, CommandSystem& system, SettingsStore& settings,
         CapturePorts& ports, CommandMessages& say, double sampleRate)
        : o_(options), say_(say), session_(kProgram, system, settings, ports), rate_(sampleRate) {}

    int Run(BodeOutputs& outputs) {
        const int status = Sweep(outputs);
        if (started_) session_.Apply([&] { GeneratorAOff(); });
        const std::string kept = error_.empty() ? std::string() : outputs.Kept();
        return say_.Finished(status, error_, kept, outputs.Finish());
    }

    // A frame taken on `ranges`, requested after the last command.
    const FrameRecord* Frame(const std::array<int, 2>& ranges) override {
        TForm2& form = session_.Form();
        for (auto [list, c] : {std::pair{&form.Scale1, 0}, std::pair{&form.Scale2, 1}}) {
            const int range = ranges[static_cast<std::size_t>(c)];
            if (list->ItemIndex() != range) {
                stale_ = session_.Apply([&] { list->UserSelect(range); });
            }
        }
        fresh_ = false;
        outcome_ = session_.RunTicks([&] { return fresh_; });
        return fresh_ ? &frame_ : nullptr;
    }

  private:
    int Sweep(BodeOutputs& outputs) {
        std::string error;
        if (!session_.Start(error)) return say_.Failed(error);
        started_ = true;
        stale_ = session_.StartUpStale();
        Setup();
        const std::vector<double> sweep = SweepFrequencies(o_.from, o_.to, o_.perDecade);
        std::array<int, 2> ranges = {session_.Form().Scale1.ItemIndex(),
                                     session_.Form().Scale2.ItemIndex()};
        for (std::size_t k = 0; k < sweep.size(); ++k) {
            Progress(k, sweep.size(), sweep[k]);
            const double played = SetFrequency(sweep[k]);
            if (outcome_ != HeadlessSession::Outcome::kDone) break;
            const std::optional<ResponsePoint> point =
                MeasureResponse(played, ranges, *this, rate_);
            if (!point) break;
            if (!outputs.Add(RunInfo(), *point, error_)) return kExitFailed;
            ++measured_;
        }
        switch (outcome_) {
            case HeadlessSession::Outcome::kInterrupted:
                return kExitInterrupted;
            case HeadlessSession::Outcome::kSilent:
                return Stopped(sweep.size());
            default:
                return kExitDone;
        }
    }

    // Once: the time sweep, the probes asked for and generator B off, each
    // as a user's click; frames answer requests from then on.
    void Setup() {
        TForm2& form = session_.Form();
        session_.Apply([&] { form.SweepSpeed.UserSelect(kTimeSweep); });
        if (o_.probe[0]) session_.Apply([&] { form.Chan1Probe.UserSelect(*o_.probe[0]); });
        if (o_.probe[1]) session_.Apply([&] { form.Chan2Probe.UserSelect(*o_.probe[1]); });
        session_.Apply([&] {
            form.Waveform2.UserSelect(kWaveformOff);
            Tick(form.EnableB);
        });
        form.onFrameShown = [&](const FrameRecord& r) {
            if (r.request <= stale_) return;
            frame_ = r;
            fresh_ = true;
            session_.NoteFrame();
        };
    }

    void GeneratorA(double frequency) {
        TForm2& form = session_.Form();
        form.Waveform1.UserSelect(kWaveformSine);
        form.Freq1.SetText(NumberText(frequency));
        form.Ampl1.SetText(NumberText(o_.amplitude));
        Tick(form.EnableA);
    }

    void GeneratorAOff() {
        session_.Form().Waveform1.UserSelect(kWaveformOff);
        Tick(session_.Form().EnableA);
    }

    // Generator A's sine at `frequency`, then the settling time; returns the
    // frequency the generator plays (its command carries single precision).
    double SetFrequency(double frequency) {
        stale_ = session_.Apply([&] { GeneratorA(frequency); });
        outcome_ = HeadlessSession::Outcome::kDone;
        if (o_.settleMs > 0) {
            const int64_t until = session_.NowMicros() + int64_t{o_.settleMs} * 1000;
            outcome_ = session_.RunTicks([] { return false; }, until);
            if (outcome_ == HeadlessSession::Outcome::kTimeUp) {
                outcome_ = HeadlessSession::Outcome::kDone;
                stale_ = session_.Form().Receive().requestsSent;
            }
        }
        return static_cast<float>(frequency);
    }

    ResponseRun RunInfo() const {
        return ResponseRun{session_.Port().name,
                           frame_.time,
                           rate_,
                           o_.amplitude,
                           {frame_.settings.channel[0].x10, frame_.settings.channel[1].x10}};
    }

    int Stopped(std::size_t points) {
        return say_.Failed("frames stopped arriving from " + session_.Port().name + " (" +
                           session_.WhyNoFrames() + "): " + std::to_string(measured_) + " of " +
                           std::to_string(points) + " points measured");
    }

    void Progress(std::size_t k, std::size_t points, double frequency) {
        char text[80];
        std::snprintf(text, sizeof text, "point %zu of %zu, %g Hz   ", k + 1, points, frequency);
        say_.Progress(text);
    }

    const BodeOptions& o_;
    CommandMessages& say_;
    HeadlessSession session_;
    double rate_;
    bool started_ = false;
    uint32_t stale_ = 0;  // frames answering these requests came before the last command
    bool fresh_ = false;
    FrameRecord frame_;
    HeadlessSession::Outcome outcome_ = HeadlessSession::Outcome::kDone;
    int measured_ = 0;
    std::string error_;
};

}  // namespace

int RunBodeCommand(int argc, const char* const* argv, CommandSystem& system) {
    CommandMessages say(kProgram, BodeUsageLine(), system.progressOnTerminal);
    BodeOptions options;
    std::string error;
    if (!ParseBodeOptions(argc, argv, kFrameSampleRateHz, options, error)) return say.Usage(error);
    if (options.help || options.version) return say.Informational(options.help, BodeHelp());
    if (options.listPorts) return ListPorts(kProgram, system.ports);
    say.SetQuiet(options.quiet);

    ReadOnlySettings settings;
    if (!options.settingsPath.empty() && !settings.Load(options.settingsPath, error)) {
        return say.Usage("cannot read " + options.settingsPath + ": " + error);
    }
    BodeOutputs outputs;
    if (!outputs.Open(options, system.files, system.standardOutput, error)) {
        return say.Failed(error);
    }
    CapturePorts ports(system.ports, ResolvePort(options.port, system.ports, system.devicePath));
    const double rate = options.sampleRate > 0 ? options.sampleRate : kFrameSampleRateHz;
    Bode bode(options, system, settings, ports, say, rate);
    return bode.Run(outputs);
}

}  // namespace velmora
