#pragma once

#include <exception>
#include <functional>
#include <string>

#include "acquisition/AcquisitionCycle.h"
#include "acquisition/ReceiveState.h"
#include "app/LinkStatusBoard.h"
#include "display/TraceDisplay.h"
#include "capture/FrameRecord.h"
#include "controls/Canvas.h"
#include "controls/CheckBox.h"
#include "controls/EditBox.h"
#include "controls/ErrorReporter.h"
#include "controls/ListBox.h"
#include "controls/Memo.h"
#include "controls/ScrollBar.h"
#include "controls/Timer.h"
#include "controls/Window.h"
#include "link/ScopeControls.h"
#include "link/SerialLink.h"
#include "settings/ConfigFile.h"
#include "settings/SettingsPanel.h"
#include "system/Clock.h"
#include "system/OutputFiles.h"
#include "system/SerialPort.h"
#include "system/SettingsStore.h"
#include "system/WallClock.h"

namespace velmora {

// What the window needs from the machine it runs on.
struct FormServices {
    SerialPorts& ports;
    SettingsStore& settings;
    Clock& clock;
    Canvas& canvas;
    ErrorReporter& errors;
    WallClock& wallClock;  // stamps the frames that are kept
    OutputFiles& files;    // where saved frames go
};

// The main window: its controls (as toolkit-free models), the state of the
// instrument link and of acquisition, and the event handlers. A window binding
// mirrors the models into widgets and runs every user event and timer tick
// through Dispatch. Several forms can live side by side (tests do).
class TForm2 {
  public:
    explicit TForm2(FormServices services);
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;

    // Runs one event; an error escaping it is shown in the error box and the
    // program carries on.
    template <typename F>
    void Dispatch(F&& event) {
        try {
            event();
        } catch (const std::exception& e) {
            services_.errors.ShowError(e.what());
        } catch (...) {
            services_.errors.ShowError("");
        }
    }

    // Handlers.
    void FormCreate();
    // Writes the settings file. One that cannot be written is logged, and
    // at a close by the user also shown in the error box (path and reason);
    // a close by the system (the end of a session, a signal) only logs it.
    enum class ClosedBy { kUser, kSystem };
    void FormClose(ClosedBy by = ClosedBy::kUser);
    void Timer1Timer();
    void ScreenClick();
    void ComPortClick();
    void RefreshCommClick();
    void SweepSpeedClick();
    void UpdateSyncClick();
    void SyncSrcBoxClick();
    void SyncPolBoxClick();
    void SyncVoltBarChange();
    void SyncPosBarChange();
    void Chan1ProbeClick();
    void Chan2ProbeClick();
    void Scale1Click();
    void Scale2Click();
    void Button1Click();
    void EnableAClick();
    void EnableBClick();
    void DefaultsClick();

    // Keeping and measuring what is shown; none of it changes a control, the
    // wire or the settings file. The frame on the screen is a copy taken when
    // it was drawn, so Hold keeps it and the next frame does not touch it.
    bool HasShownFrame() const { return hasShownFrame_; }
    const FrameRecord& ShownFrame() const { return shown_; }
    // Runs after every redraw with the frame just drawn (the capture command
    // records from here).
    std::function<void(const FrameRecord&)> onFrameShown;
    // The M key: the measurement readout on or off, and the picture drawn
    // again from the frame on the screen. Off at start, never stored.
    void ToggleMeasurementReadout();
    bool MeasurementReadoutShown() const { return readoutShown_; }
    // Ctrl+S, first step: whether there is a frame to save (the log says so
    // when there is not, and no dialog should open).
    bool CanSaveFrame();
    // Ctrl+S, second step: `frame` (the shown frame as it was when the user
    // asked; frames go on arriving while the dialog is open) as BASE.csv,
    // BASE.png (the picture's encoded bytes) and, with a spectrum box ticked,
    // BASE-spectrum.csv. The log names what was written; a file that cannot be
    // written shows the error box.
    void SaveFrame(const FrameRecord& frame, const std::string& base, const std::string& png);

    // The capture command names its port itself: the settings file's port
    // line then chooses nothing (its index still applies to the one port).
    bool portFromSettingsFile = true;

    // Controls, with their design values.
    Window Form;
    ListBox SweepSpeed, SyncSrcBox, SyncPolBox, ComPort;
    ListBox Chan1Probe, Scale1, Chan2Probe, Scale2;
    ListBox Waveform1, Waveform2;
    CheckBox Scope1CheckBox{true}, Scope2CheckBox{true};
    CheckBox Fft1CheckBox, Fft2CheckBox, HoldBox;
    CheckBox EnableA, EnableB;
    EditBox Freq1{"20000", EditChars::kDigits}, Freq2{"20000", EditChars::kDigits};
    // Channel A's amplitude takes a decimal point: digits alone would make
    // every amplitude below 1 V impossible.
    EditBox Ampl1{"1.00", EditChars::kDecimal}, Ampl2{"1.00", EditChars::kAny};
    ScrollBar SyncVoltBar{kSyncLevelMin, kSyncLevelMax, 0};
    ScrollBar SyncPosBar{kSyncPositionMin, kSyncPositionMax, 298};
    Memo Display;
    Timer Timer1{200};

    // State other subsystems and tests read.
    const SerialLink& Link() const { return link_; }
    const ReceiveState& Receive() const { return rx_; }
    const SyncState& Sync() const { return scope_.Sync(); }
    const PlotGeometry& Geometry() const { return picture_.Geometry(); }
    // What the picture says about the link; empty while frames arrive.
    const LinkStatusLines& LinkStatus() const { return status_.Lines(); }

  private:
    void FillLists();
    void BindHandlers();
    void SettleAndApplyLists(const StoredPortPath& stored);
    // Opens the selected port and asks for a frame (the port row's own
    // sequence); true when the port ended open and configured.
    bool OpenSelectedPort();
    // After an open: the oscilloscope settings in start-up's order, then
    // FinishOpen.
    void BringInstrumentInLine();
    // Each ticked generator's command, then one data request, so that the
    // first frame drawn after an open was asked for after every setting.
    void FinishOpen();
    // Once a second while the port is awaited back: reopens it once listed.
    void LookForAwaitedPort();
    // The link's state into the picture and the log (LinkStatusBoard).
    void UpdateLinkStatus(bool renamed);
    void ShowLinkStatus();
    void RepaintPicture(const DisplayInputs& now);
    SettingsPanel SettingsControls();
    // Redraws the whole picture from the last frame and the controls as they are now.
    void DrawFrame();
    void DrawPicture(const SampleFrame& frame, const DisplayInputs& in);
    void KeepShownFrame(const DisplayInputs& in);
    DisplayInputs PictureInputs() const;

    FormServices services_;
    SerialLink link_;
    ReceiveState rx_;
    ScopeControls scope_;
    AcquisitionCycle acquisition_;
    TraceDisplay picture_;
    FrameRecord shown_;
    bool hasShownFrame_ = false;
    bool readoutShown_ = false;
    LinkStatusBoard status_{Display};
};

}  // namespace velmora
