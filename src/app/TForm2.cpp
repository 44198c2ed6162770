#include "app/TForm2.h"

#include "acquisition/RequestData.h"
#include "display/TestPattern.h"
#include "app/ControlLayout.h"
#include "capture/FrameFiles.h"
#include "capture/Measurements.h"
#include "display/MeasurementReadout.h"
#include "link/SampleRate.h"
#include "controls/DpiScale.h"
#include "generator/SendGeneratorCommand.h"
#include "link/CommandSender.h"
#include "link/ScaleLabels.h"
#include "settings/ConfigFile.h"
#include "settings/FactoryDefaults.h"

namespace velmora {
namespace {

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
      link_(services.ports, Display),
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
    ReadConfig(services_.settings, settings, Display);
    SettleAndApplyLists();
}

void TForm2::SettleAndApplyLists() {
    SettleListSelection(ComPort);
    ComPortClick();
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

void TForm2::FormClose() { WriteConfig(services_.settings, SettingsControls(), link_.CommPath()); }

void TForm2::Timer1Timer() { acquisition_.Timer1Timer(); }

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

// The same picture again, in today's window size, with or without the readout.
void TForm2::ToggleMeasurementReadout() {
    readoutShown_ = !readoutShown_;
    if (!hasShownFrame_) return;
    // The picture's settings as they were, in the window as it is now.
    const DisplayInputs now = PictureInputs();
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

void TForm2::ComPortClick() {
    if (link_.OpenPort(ComPort.ItemIndex())) RequestData(link_, rx_, services_.clock);
}

void TForm2::RefreshCommClick() { link_.RefreshPorts(ComPort); }

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

void TForm2::Button1Click() { Display.SetVisible(!Display.Visible()); }

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
        panel, ScopeHandlers{[this] { ComPortClick(); }, [this] { Scale1Click(); },
                             [this] { Scale2Click(); }, [this] { SweepSpeedClick(); },
                             [this] { Chan1ProbeClick(); }, [this] { Chan2ProbeClick(); },
                             [this] { UpdateSyncClick(); }});
}

}  // namespace velmora
