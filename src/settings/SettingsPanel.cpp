#include "settings/SettingsPanel.h"

namespace velmora {
namespace {

// Slots of the file, in line order.
enum Slot {
    kSweepSpeed,
    kSyncSrc,
    kSyncPol,
    kComPort,
    kProbe1,
    kScale1,
    kProbe2,
    kScale2,
    kSyncLevel,
    kSyncPos,
    kLeft,
    kTop,
    kWidth,
    kHeight,
    kScope1,
    kScope2,
    kFft1,
    kFft2,
};

constexpr const char* kTemplates[kConfigSettings] = {
    "SwpSp %d                \r\n", "SySrc %d                \r\n",
    "SyPol %d                \r\n", "ComPt %d                %s\r\n",
    "Prob1 %d                \r\n", "Scal1 %d                \r\n",
    "Prob2 %d                \r\n", "Scal2 %d                \r\n",
    "SyLev %d                \r\n", "SyPos %d                \r\n",
    "Wleft %d                \r\n", "Wtopp %d                \r\n",
    "Wwidt %d                \r\n", "Whigh %d                \r\n",
    "Scop1 %d                \r\n", "Scop2 %d                \r\n",
    "Fft1C %d                \r\n", "Fft2C %d                \r\n",
};

ListBox* ListOf(const SettingsPanel& panel, int slot) {
    switch (slot) {
        case kSweepSpeed:
            return &panel.sweepSpeed;
        case kSyncSrc:
            return &panel.syncSrcBox;
        case kSyncPol:
            return &panel.syncPolBox;
        case kComPort:
            return &panel.comPort;
        case kProbe1:
            return &panel.chan1Probe;
        case kScale1:
            return &panel.scale1;
        case kProbe2:
            return &panel.chan2Probe;
        case kScale2:
            return &panel.scale2;
        default:
            return nullptr;
    }
}

CheckBox* BoxOf(const SettingsPanel& panel, int slot) {
    switch (slot) {
        case kScope1:
            return &panel.scope1CheckBox;
        case kScope2:
            return &panel.scope2CheckBox;
        case kFft1:
            return &panel.fft1CheckBox;
        case kFft2:
            return &panel.fft2CheckBox;
        default:
            return nullptr;
    }
}

}  // namespace

const char* SettingsPanel::Template(int slot) {
    return slot >= 0 && slot < kConfigSettings ? kTemplates[slot] : "";
}

int32_t SettingsPanel::Value(int slot) const {
    if (ListBox* list = ListOf(*this, slot)) return list->ItemIndex();
    if (CheckBox* box = BoxOf(*this, slot)) return box->Checked() ? 1 : 0;
    switch (slot) {
        case kSyncLevel:
            return syncVoltBar.Position();
        case kSyncPos:
            return syncPosBar.Position();
        case kLeft:
            return form.Left();
        case kTop:
            return form.Top();
        case kWidth:
            return form.Width();
        case kHeight:
            return form.Height();
        default:
            return 0;
    }
}

void SettingsPanel::Apply(int slot, int32_t value) {
    if (ListBox* list = ListOf(*this, slot)) return list->SetItemIndex(value);
    if (CheckBox* box = BoxOf(*this, slot)) return box->SetChecked(value != 0);
    switch (slot) {
        case kSyncLevel:
            return syncVoltBar.SetPosition(value);
        case kSyncPos:
            return syncPosBar.SetPosition(value);
        case kLeft:
            return form.SetLeft(value);
        case kTop:
            return form.SetTop(value);
        case kWidth:
            return form.SetWidth(value);
        case kHeight:
            return form.SetHeight(value);
        default:
            return;
    }
}

}  // namespace velmora
