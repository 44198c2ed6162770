#pragma once

#include <exception>
#include <string>

#include "acquisition/AcquisitionCycle.h"
#include "acquisition/ReceiveState.h"
#include "acquisition/TraceDisplay.h"
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
#include "settings/SettingsPanel.h"
#include "system/Clock.h"
#include "system/SerialPort.h"
#include "system/SettingsStore.h"

namespace velmora {

// What the window needs from the machine it runs on.
struct FormServices {
    SerialPorts& ports;
    SettingsStore& settings;
    Clock& clock;
    Canvas& canvas;
    ErrorReporter& errors;
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
    void FormClose();
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

    // Controls, with their design values.
    Window Form;
    ListBox SweepSpeed, SyncSrcBox, SyncPolBox, ComPort;
    ListBox Chan1Probe, Scale1, Chan2Probe, Scale2;
    ListBox Waveform1, Waveform2;
    CheckBox Scope1CheckBox{true}, Scope2CheckBox{true};
    CheckBox Fft1CheckBox, Fft2CheckBox, HoldBox;
    CheckBox EnableA, EnableB;
    EditBox Freq1{"20000", true}, Freq2{"20000", true};
    EditBox Ampl1{"1.00", true}, Ampl2{"1.00", false};
    ScrollBar SyncVoltBar{-2000, 2000, 0};
    ScrollBar SyncPosBar{0, 2048, 298};
    Memo Display;
    Timer Timer1{200};

    // State other subsystems and tests read.
    const SerialLink& Link() const { return link_; }
    const ReceiveState& Receive() const { return rx_; }
    const SyncState& Sync() const { return scope_.Sync(); }
    const PlotGeometry& Geometry() const { return picture_.Geometry(); }

  private:
    void FillLists();
    void BindHandlers();
    void SettleAndApplyLists();
    SettingsPanel SettingsControls();
    // Redraws the whole picture from the last frame and the controls as they are now.
    void DrawFrame();
    DisplayInputs PictureInputs() const;

    FormServices services_;
    SerialLink link_;
    ReceiveState rx_;
    ScopeControls scope_;
    AcquisitionCycle acquisition_;
    TraceDisplay picture_;
};

}  // namespace velmora
