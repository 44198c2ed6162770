#include "app/ControlBinding.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace velmora {
namespace {

template <typename T, std::size_t N>
T* Lookup(const std::pair<std::string_view, T*> (&table)[N], std::string_view name) {
    for (const auto& [key, model] : table) {
        if (key == name) return model;
    }
    throw std::logic_error("no model for control " + std::string(name));
}

ListBox* ListModel(TForm2& f, std::string_view name) {
    const std::pair<std::string_view, ListBox*> table[] = {
        {"SweepSpeed", &f.SweepSpeed}, {"SyncSrcBox", &f.SyncSrcBox}, {"SyncPolBox", &f.SyncPolBox},
        {"ComPort", &f.ComPort},       {"Chan1Probe", &f.Chan1Probe}, {"Scale1", &f.Scale1},
        {"Chan2Probe", &f.Chan2Probe}, {"Scale2", &f.Scale2},         {"Waveform1", &f.Waveform1},
        {"Waveform2", &f.Waveform2}};
    return Lookup(table, name);
}

CheckBox* CheckModel(TForm2& f, std::string_view name) {
    const std::pair<std::string_view, CheckBox*> table[] = {{"Scope1CheckBox", &f.Scope1CheckBox},
                                                            {"Scope2CheckBox", &f.Scope2CheckBox},
                                                            {"Fft1CheckBox", &f.Fft1CheckBox},
                                                            {"Fft2CheckBox", &f.Fft2CheckBox},
                                                            {"HoldBox", &f.HoldBox},
                                                            {"EnableA", &f.EnableA},
                                                            {"EnableB", &f.EnableB}};
    return Lookup(table, name);
}

EditBox* EditModel(TForm2& f, std::string_view name) {
    const std::pair<std::string_view, EditBox*> table[] = {
        {"Freq1", &f.Freq1}, {"Freq2", &f.Freq2}, {"Ampl1", &f.Ampl1}, {"Ampl2", &f.Ampl2}};
    return Lookup(table, name);
}

Memo* MemoModel(TForm2& f, std::string_view name) {
    const std::pair<std::string_view, Memo*> table[] = {{"Display", &f.Display}};
    return Lookup(table, name);
}

std::function<void()> ButtonHandler(TForm2& f, std::string_view name) {
    if (name == "RefreshComm") return [&f] { f.RefreshCommClick(); };
    if (name == "Defaults") return [&f] { f.DefaultsClick(); };
    if (name == "Button1") return [&f] { f.Button1Click(); };
    throw std::logic_error("no handler for button " + std::string(name));
}

}  // namespace

BoundControl BindControl(const ControlPlacement& placement, TForm2& form) {
    BoundControl bound{placement, nullptr, nullptr, nullptr, nullptr, {}};
    const std::string_view name = placement.name;
    switch (placement.kind) {
        case ControlKind::ListBox:
            bound.list = ListModel(form, name);
            break;
        case ControlKind::CheckBox:
            bound.check = CheckModel(form, name);
            break;
        case ControlKind::EditBox:
            bound.edit = EditModel(form, name);
            break;
        case ControlKind::Memo:
            bound.memo = MemoModel(form, name);
            break;
        case ControlKind::Button:
            bound.click = ButtonHandler(form, name);
            break;
        case ControlKind::Label:
            break;
    }
    return bound;
}

}  // namespace velmora
