#include "app/TForm2.h"

#include <algorithm>

#include "acquisition/LinkHealth.h"
#include "acquisition/RequestData.h"
#include "display/TestPattern.h"
#include "app/ControlLayout.h"
#include "capture/FrameFiles.h"
#include "capture/Measurements.h"
#include "display/MeasurementReadout.h"
#include "link/SampleRate.h"
#include "controls/DpiScale.h"
#include "generator/InvalidFloatText.h"
#include "generator/SendGeneratorCommand.h"
#include "link/CommandSender.h"
#include "link/ScaleLabels.h"
#include "settings/ConfigFile.h"
#include "settings/FactoryDefaults.h"

namespace velmora {
namespace {

// How often a port that is awaited back is looked for.
constexpr int kLookEveryMillis = 1000;

constexpr const char* kSweepItems[] = {"XY Mode", "2 mSec/div"};
constexpr const char* kSourceItems[] = {"Ch1", "Ch2"};
constexpr const char* kPolarityItems[] = {"Rise", "Fall"};
constexpr const char* kProbeItems[] = {"x10", "x1"};
constexpr const char* kWaveformItems[] = {
    "Off",     "Sine",    "Cosine",  "Saw Rising", "Saw Falling", "Saw Symmetrical",
    "Sqr 50%", "Sqr 10%", "Sqr 90%", " "};

template <std::size_t N>
void AddAll(ListBox& list, const char* const (&items)[N]) {
    for (const char* item : items) list.Add(item);
}

}  // namespace

TForm2::TForm2(FormServices services)
    : services_(services),
      link_(services.ports, Display, services.clock),
      scope_(ScopePanel{SweepSpeed, SyncSrcBox, SyncPolBox, SyncVoltBar, SyncPosBar, Chan1Probe,
                        Scale1, Chan2Probe, Scale2},
             link_, Display),
      acquisition_(rx_, link_, HoldBox, services.clock) {
    Form.SetCaption(kDesignCaption);
    // The outer size follows from the frame, which the binding reports.
    Form.SetDesignGeometry(kDesignLeft, kDesignTop, kClientWidth, kClientHeight);
    Display.Append("Display");
    FillLists();
    BindHandlers();
    acquisition_.drawFrame = [this] { DrawFrame(); };
}

void TForm2::FillLists() {
    AddAll(SweepSpeed, kSweepItems);
    AddAll(SyncSrcBox, kSourceItems);
    AddAll(SyncPolBox, kPolarityItems);
    AddAll(Chan1Probe, kProbeItems);
    AddAll(Chan2Probe, kProbeItems);
    AddAll(Scale1, kScaleLabels[1]);
    AddAll(Scale2, kScaleLabels[1]);
    AddAll(Waveform1, kWaveformItems);
    AddAll(Waveform2, kWaveformItems);
    Waveform2.Add("");
}

void TForm2::BindHandlers() {
    SweepSpeed.onClick = [this] { SweepSpeedClick(); };
    SyncSrcBox.onClick = [this] { SyncSrcBoxClick(); };
    SyncPolBox.onClick = [this] { SyncPolBoxClick(); };
    ComPort.onClick = [this] { ComPortClick(); };
    Chan1Probe.onClick = [this] { Chan1ProbeClick(); };
    Chan2Probe.onClick = [this] { Chan2ProbeClick(); };
    Scale1.onClick = [this] { Scale1Click(); };
    // A user's change of channel 2's range reaches the instrument at once, as
    // channel 1's does; otherwise the window and the instrument would differ.
    Scale2.onClick = [this] { Scale2Click(); };
    SyncVoltBar.onChange = [this] { SyncVoltBarChange(); };
    SyncPosBar.onChange = [this] { SyncPosBarChange(); };
    EnableA.onClick = [this] { EnableAClick(); };
    EnableB.onClick = [this] { EnableBClick(); };
    Timer1.onTick = [this] { Timer1Timer(); };
}

void TForm2::FormCreate() {
    Form.SetCaption(kRunCaption);
    Display.Clear();
    rx_.timerInterval = Timer1.Interval();
    SweepSpeed.SetItemIndex(SweepSpeed.Count() - 1);
    Scale1.SetItemIndex(Scale1.Count() - 1);
    Scale2.SetItemIndex(Scale2.Count() - 1);
    Chan1Probe.SetItemIndex(Chan1Probe.Count() - 1);
    Chan2Probe.SetItemIndex(Chan2Probe.Count() - 1);
    SyncVoltBar.SetPosition(0);
    SyncPosBar.SetPosition((SyncPosBar.Max() + SyncPosBar.Min()) / 2);
    link_.DiscoverPorts(ComPort);
    LogLine(Display, "W: %d %d %d %d\r\n", Form.Left(), Form.Top(), Form.Width(), Form.Height());
    SettingsPanel settings = SettingsControls();
    const StoredPortPath stored = ReadConfig(services_.settings, settings, Display);
    SettleAndApplyLists(portFromSettingsFile ? stored : StoredPortPath{});
    if (link_.Configured()) FinishOpen();
    UpdateLinkStatus(true);
}

void TForm2::SettleAndApplyLists(const StoredPortPath& stored) {
    link_.ChooseStartUpPort(ComPort, stored.path, stored.whole, kLongestUnselectedPortPath);
    OpenSelectedPort();
    SettleListSelection(SweepSpeed);
    SweepSpeedClick();
    SettleListSelection(SyncSrcBox);
    SettleListSelection(SyncPolBox);
    UpdateSyncClick();
    SettleListSelection(Chan1Probe);
    Chan1ProbeClick();
    SettleListSelection(Scale1);
    Scale1Click();
    SettleListSelection(Chan2Probe);
    Chan2ProbeClick();
    SettleListSelection(Scale2);
    Scale2Click();
}

SettingsPanel TForm2::SettingsControls() {
    return SettingsPanel{SweepSpeed, SyncSrcBox,     SyncPolBox,     ComPort,      Chan1Probe,
                         Scale1,     Chan2Probe,     Scale2,         SyncVoltBar,  SyncPosBar,
                         Form,       Scope1CheckBox, Scope2CheckBox, Fft1CheckBox, Fft2CheckBox};
}

void TForm2::FormClose(ClosedBy by) {
    const std::string failed =
        WriteConfig(services_.settings, SettingsControls(), link_.CommPath());
    if (failed.empty()) return;
    Display.Append(failed);
    if (by == ClosedBy::kUser) services_.errors.ShowError(failed);
}

void TForm2::Timer1Timer() {
    acquisition_.Timer1Timer();
    LookForAwaitedPort();
    UpdateLinkStatus(false);
}

// Driven by the timer, so that a look never waits on anything but discovery.
void TForm2::LookForAwaitedPort() {
    const uint32_t everyTicks =
        static_cast<uint32_t>(std::max(1, kLookEveryMillis / rx_.timerInterval));
    if (!IsAwaitedBack(link_.Condition()) || rx_.timerTicks % everyTicks != 0) return;
    if (link_.AwaitedPortListed(ComPort)) ComPortClick();
}

void TForm2::UpdateLinkStatus(bool renamed) {
    const LinkCondition now =
        LinkHealth(link_, rx_, HoldBox.Checked(), services_.clock.NowMicros());
    status_.Take(link_, now, HoldBox.Checked(), rx_.framesReceived, renamed);
    ShowLinkStatus();
}

// Above the log while the log is shown, where it would cover the middle.
void TForm2::ShowLinkStatus() {
    const DisplayInputs in = PictureInputs();
    const ControlPlacement* log = FindControl("Display");
    const int logTop = Display.Visible() && log != nullptr ? ToDevicePixels(log->top, in.dpi) : -1;
    status_.Show(services_.canvas, in, logTop, [this, &in] { RepaintPicture(in); });
}

// The frame on the screen again without any text, or, before the first
// frame, an empty picture.
void TForm2::RepaintPicture(const DisplayInputs& now) {
    if (!hasShownFrame_) {
        services_.canvas.Rectangle(0, 0, now.clientWidth, now.clientHeight);
        return;
    }
    DisplayInputs in = shown_.inputs;
    in.clientWidth = now.clientWidth;
    in.clientHeight = now.clientHeight;
    in.dpi = now.dpi;
    in.syncVoltBarWidth = now.syncVoltBarWidth;
    in.syncPosBarHeight = now.syncPosBarHeight;
    DrawPicture(shown_.frame, in);
    if (readoutShown_) {
        DrawMeasurementReadout(services_.canvas, ReadoutOf(shown_, kFrameSampleRateHz),
                               in.clientWidth, in.dpi);
    }
}

DisplayInputs TForm2::PictureInputs() const {
    DisplayInputs in;
    in.clientWidth = Form.ClientWidth();
    in.clientHeight = Form.ClientHeight();
    // The bars are docked at their design sizes scaled to the monitor.
    in.dpi = Form.Dpi();
    in.syncVoltBarWidth = ToDevicePixels(kSyncVoltBarWidth, in.dpi);
    in.syncPosBarHeight = ToDevicePixels(kSyncPosBarHeight, in.dpi);
    in.sweepIndex = SweepSpeed.ItemIndex();
    in.chan1Probe = Chan1Probe.ItemIndex();
    in.scale1 = Scale1.ItemIndex();
    in.chan2Probe = Chan2Probe.ItemIndex();
    in.scale2 = Scale2.ItemIndex();
    in.scope1 = Scope1CheckBox.Checked();
    in.scope2 = Scope2CheckBox.Checked();
    in.fft1 = Fft1CheckBox.Checked();
    in.fft2 = Fft2CheckBox.Checked();
    in.syncPosition = Sync().syncPosition;
    in.syncLevel = Sync().syncLevel;
    return in;
}

void TForm2::DrawFrame() {
    const DisplayInputs in = PictureInputs();
    DrawPicture(rx_.frame, in);
    status_.PictureRedrawn();
    KeepShownFrame(in);
    if (readoutShown_) {
        DrawMeasurementReadout(services_.canvas, ReadoutOf(shown_, kFrameSampleRateHz),
                               in.clientWidth, in.dpi);
    }
    if (onFrameShown) onFrameShown(shown_);
}

void TForm2::DrawPicture(const SampleFrame& frame, const DisplayInputs& in) {
    picture_.DrawFrame(services_.canvas, frame, in);
}

void TForm2::KeepShownFrame(const DisplayInputs& in) {
    shown_.frame = rx_.frame;
    shown_.inputs = in;
    shown_.settings = SettingsOf(in, SyncSrcBox.ItemIndex(), SyncPolBox.ItemIndex());
    const int port = ComPort.ItemIndex();
    SetPortName(shown_, port >= 0 && port < ComPort.Count() ? ComPort.Item(port).c_str()
                                                            : link_.CommPath());
    shown_.time = services_.wallClock.Now();
    shown_.request = rx_.requestsSent;
    hasShownFrame_ = true;
}

// The same picture again, in today's window size, with or without the readout
// (and the link's status over it, when there is one).
void TForm2::ToggleMeasurementReadout() {
    readoutShown_ = !readoutShown_;
    if (!hasShownFrame_) return;
    // The picture's settings as they were, in the window as it is now.
    RepaintPicture(PictureInputs());
    status_.PictureRedrawn();
    ShowLinkStatus();
}

bool TForm2::CanSaveFrame() {
    if (!hasShownFrame_) Display.Append("Nothing to save: no frame has arrived yet");
    return hasShownFrame_;
}

void TForm2::SaveFrame(const FrameRecord& frame, const std::string& base, const std::string& png) {
    const SaveResult result = SaveFrameFiles(services_.files, base, frame, png, kFrameSampleRateHz);
    if (!result.written.empty()) Display.Append("Saved " + result.written);
    if (!result.ok) services_.errors.ShowError(result.error);
}

void TForm2::ScreenClick() {
    DrawTestPattern(services_.canvas, Form.ClientWidth(), Form.ClientHeight());
    rx_.frameReady = true;
    RequestData(link_, rx_, services_.clock);
}

// The port row, and a port that came back: the instrument, perhaps just
// powered up at its own defaults, is brought in line with the window.
void TForm2::ComPortClick() {
    if (OpenSelectedPort()) BringInstrumentInLine();
    UpdateLinkStatus(true);
}

bool TForm2::OpenSelectedPort() {
    if (!link_.OpenPort(ComPort.ItemIndex())) return false;
    RequestData(link_, rx_, services_.clock);
    return true;
}

void TForm2::BringInstrumentInLine() {
    SweepSpeedClick();
    UpdateSyncClick();
    Chan1ProbeClick();
    Scale1Click();
    Chan2ProbeClick();
    Scale2Click();
    FinishOpen();
}

// A generator text that is not a number is reported once the request is out.
void TForm2::FinishOpen() {
    std::exception_ptr failed;
    for (const GeneratorChannel& channel :
         {GeneratorChannel{EnableA, Waveform1, Freq1, Ampl1, kGeneratorFormatA},
          GeneratorChannel{EnableB, Waveform2, Freq2, Ampl2, kGeneratorFormatB}}) {
        try {
            SendGeneratorSetting(channel, link_, Display);
        } catch (const InvalidFloatText&) {
            if (!failed) failed = std::current_exception();
        }
    }
    RequestData(link_, rx_, services_.clock);
    if (failed) std::rethrow_exception(failed);
}

void TForm2::RefreshCommClick() {
    link_.RefreshPorts(ComPort);
    UpdateLinkStatus(true);
}

void TForm2::SweepSpeedClick() { scope_.SweepSpeedClick(); }
void TForm2::UpdateSyncClick() { scope_.UpdateSyncClick(); }
void TForm2::SyncSrcBoxClick() { UpdateSyncClick(); }
void TForm2::SyncPolBoxClick() { UpdateSyncClick(); }
void TForm2::SyncVoltBarChange() { UpdateSyncClick(); }
void TForm2::SyncPosBarChange() { UpdateSyncClick(); }
void TForm2::Chan1ProbeClick() { scope_.ProbeClick(1); }
void TForm2::Chan2ProbeClick() { scope_.ProbeClick(2); }
void TForm2::Scale1Click() { scope_.ScaleClick(1); }
void TForm2::Scale2Click() { scope_.ScaleClick(2); }

void TForm2::Button1Click() {
    Display.SetVisible(!Display.Visible());
    ShowLinkStatus();  // the text stands above the log while the log is shown
}

void TForm2::EnableAClick() {
    SendGeneratorCommand(GeneratorChannel{EnableA, Waveform1, Freq1, Ampl1, kGeneratorFormatA},
                         link_, rx_, services_.clock, Display);
}

void TForm2::EnableBClick() {
    SendGeneratorCommand(GeneratorChannel{EnableB, Waveform2, Freq2, Ampl2, kGeneratorFormatB},
                         link_, rx_, services_.clock, Display);
}

void TForm2::DefaultsClick() {
    SettingsPanel panel = SettingsControls();
    RestoreFactoryDefaults(
        panel, ScopeHandlers{[this] { OpenSelectedPort(); }, [this] { Scale1Click(); },
                             [this] { Scale2Click(); }, [this] { SweepSpeedClick(); },
                             [this] { Chan1ProbeClick(); }, [this] { Chan2ProbeClick(); },
                             [this] { UpdateSyncClick(); }});
    if (link_.Configured()) FinishOpen();
    UpdateLinkStatus(true);
}

}  // namespace velmora
