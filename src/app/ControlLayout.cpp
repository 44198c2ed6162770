#include "app/ControlLayout.h"

namespace velmora {

using K = ControlKind;

const ControlPlacement kControlLayout[] = {
    {"SweepSpeed", K::ListBox, 279, 24, 75, 17, ""},
    {"SyncSrcBox", K::ListBox, 280, 47, 49, 17, ""},
    {"SyncPolBox", K::ListBox, 335, 47, 57, 17, ""},
    {"RefreshComm", K::Button, 277, 80, 115, 17, "Refresh Comm Ports"},
    {"ComPort", K::ListBox, 277, 103, 115, 17, ""},
    {"Chan1Probe", K::ListBox, 73, 59, 40, 18, ""},
    {"Scale1", K::ListBox, 111, 59, 58, 18, ""},
    {"Chan2Probe", K::ListBox, 73, 80, 40, 17, ""},
    {"Scale2", K::ListBox, 111, 78, 58, 19, ""},
    {"Scope1CheckBox", K::CheckBox, 177, 59, 24, 19, ""},
    {"Scope2CheckBox", K::CheckBox, 176, 80, 25, 17, ""},
    {"Fft1CheckBox", K::CheckBox, 207, 59, 27, 18, ""},
    {"Fft2CheckBox", K::CheckBox, 207, 80, 18, 17, ""},
    {"Defaults", K::Button, 416, 23, 57, 55, "Reset to Factory Deefaults"},
    {"HoldBox", K::CheckBox, 416, 105, 49, 18, "Hold"},
    {"Waveform1", K::ListBox, 73, 139, 65, 17, ""},
    {"Waveform2", K::ListBox, 73, 162, 65, 18, ""},
    {"Freq1", K::EditBox, 136, 139, 51, 21, ""},
    {"Freq2", K::EditBox, 136, 162, 51, 21, ""},
    {"Ampl1", K::EditBox, 184, 139, 64, 21, ""},
    {"Ampl2", K::EditBox, 184, 162, 64, 21, ""},
    {"EnableA", K::CheckBox, 254, 139, 74, 17, "Enable A"},
    {"EnableB", K::CheckBox, 254, 162, 75, 18, "Enable B"},
    {"Button1", K::Button, 984, 744, 17, 17, "."},
    {"Display", K::Memo, 648, 304, 561, 419, ""},
    {"Edit1", K::Label, 85, 21, 67, 13, "Oscilloscope", Align::Centre, false},
    {"Edit2", K::Label, 72, 40, 33, 13, "Probe", Align::Centre, false},
    {"Edit3", K::Label, 125, 40, 27, 13, "Scale", Align::Centre, false},
    {"Edit4", K::Label, 240, 24, 33, 17, "Horiz", Align::Centre, false},
    {"Edit5", K::Label, 119, 103, 90, 19, "Signal Generator", Align::Centre, false},
    {"Edit6", K::Label, 72, 120, 58, 13, "Waveform", Align::Centre, false},
    {"Edit7", K::Label, 130, 120, 57, 13, "Frequency", Align::Centre, false},
    {"Edit8", K::Label, 193, 120, 55, 13, "Peak Ampl", Align::Centre, false},
    {"Edit9", K::Label, 40, 59, 27, 18, "Ch 1", Align::Left, false},
    {"Edit10", K::Label, 40, 83, 33, 17, "Ch 2", Align::Left, false},
    {"Edit11", K::Label, 240, 47, 34, 16, "Sync", Align::Centre, false},
    {"Edit12", K::Label, 184, 21, 50, 21, "Domain", Align::Left, true},
    {"Edit13", K::Label, 175, 40, 26, 13, "Time", Align::Left, true},
    {"Edit14", K::Label, 208, 40, 26, 11, "Freq", Align::Left, true},
};

const std::size_t kControlCount = sizeof kControlLayout / sizeof kControlLayout[0];

const ControlPlacement* FindControl(std::string_view name) {
    for (const ControlPlacement& control : kControlLayout) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

}  // namespace velmora
