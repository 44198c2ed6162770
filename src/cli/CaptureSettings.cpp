#include "cli/CaptureSettings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "cli/CapturePorts.h"
#include "controls/NullCanvas.h"

namespace velmora {
namespace {

class MemoryReader final : public SettingsReader {
  public:
    explicit MemoryReader(const std::string& bytes) : bytes_(bytes) {}
    std::optional<uint8_t> ReadByte() override {
        if (at_ >= bytes_.size()) return std::nullopt;
        return static_cast<uint8_t>(bytes_[at_++]);
    }

  private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

class QuietErrors final : public ErrorReporter {
  public:
    void ShowError(const std::string&) override {}
};

// A position set without its change handler: the trigger options go out
// together in one sync command.
void SetQuietly(ScrollBar& bar, int position) {
    auto handler = std::exchange(bar.onChange, nullptr);
    bar.SetPosition(position);
    bar.onChange = std::move(handler);
}

void SelectQuietly(ListBox& list, int index) {
    list.SetItemIndex(index);
    SettleListSelection(list);
}

void ApplyTrigger(TForm2& form, const CaptureOptions& o) {
    if (o.triggerSource) SelectQuietly(form.SyncSrcBox, *o.triggerSource);
    if (o.triggerSlope) SelectQuietly(form.SyncPolBox, *o.triggerSlope);
    // The bar's position is the level negated (its top end sends +2000).
    if (o.triggerLevel) SetQuietly(form.SyncVoltBar, -*o.triggerLevel);
    if (o.triggerPosition) SetQuietly(form.SyncPosBar, *o.triggerPosition);
    form.SyncSrcBoxClick();
}

void ApplyGenerator(ListBox& wave, EditBox& freq, EditBox& ampl, CheckBox& enable,
                    const GeneratorSetting& g) {
    wave.UserSelect(g.waveform);
    freq.SetText(g.frequency);
    ampl.SetText(g.amplitude);
    enable.UserClick();  // ticks it (no run starts with it ticked) and sends the setting
}

}  // namespace

bool ReadOnlySettings::Load(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    char chunk[4096];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes_.append(chunk, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "read error";
        return false;
    }
    loaded_ = true;
    return true;
}

std::unique_ptr<SettingsReader> ReadOnlySettings::OpenForRead(const char*) {
    if (!loaded_) return nullptr;
    return std::make_unique<MemoryReader>(bytes_);
}

std::array<int, 2> ProbesInForce(const CaptureOptions& options, SettingsStore& settings,
                                 Clock& clock, WallClock& wallClock, OutputFiles& files) {
    NoPorts ports;
    NullCanvas canvas;
    QuietErrors errors;
    TForm2 dryRun(FormServices{ports, settings, clock, canvas, errors, wallClock, files});
    dryRun.Dispatch([&] { dryRun.FormCreate(); });
    return {options.probe[0].value_or(dryRun.Chan1Probe.ItemIndex()),
            options.probe[1].value_or(dryRun.Chan2Probe.ItemIndex())};
}

uint32_t ApplySettings(TForm2& form, const CaptureOptions& o,
                       const std::array<std::optional<int>, 2>& rangeIndex) {
    uint32_t before = 0;
    auto step = [&](const std::function<void()>& apply) {
        before = form.Receive().requestsSent;
        form.Dispatch(apply);
    };
    if (o.sweep) step([&] { form.SweepSpeed.UserSelect(*o.sweep); });
    if (o.probe[0]) step([&] { form.Chan1Probe.UserSelect(*o.probe[0]); });
    if (o.probe[1]) step([&] { form.Chan2Probe.UserSelect(*o.probe[1]); });
    if (rangeIndex[0]) step([&] { form.Scale1.UserSelect(*rangeIndex[0]); });
    if (rangeIndex[1]) step([&] { form.Scale2.UserSelect(*rangeIndex[1]); });
    if (o.AnyTrigger()) step([&] { ApplyTrigger(form, o); });
    if (o.generator[0]) {
        step([&] {
            ApplyGenerator(form.Waveform1, form.Freq1, form.Ampl1, form.EnableA, *o.generator[0]);
        });
    }
    if (o.generator[1]) {
        step([&] {
            ApplyGenerator(form.Waveform2, form.Freq2, form.Ampl2, form.EnableB, *o.generator[1]);
        });
    }
    return before;
}

}  // namespace velmora
