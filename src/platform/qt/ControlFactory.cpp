#include "platform/qt/ControlFactory.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/qt/ButtonWidget.h"
#include "platform/qt/CheckBoxWidget.h"
#include "platform/qt/EditBoxWidget.h"
#include "platform/qt/LabelBox.h"
#include "platform/qt/ListBoxWidget.h"
#include "platform/qt/MemoWidget.h"

namespace velmora {
namespace {

template <typename T, std::size_t N>
T& Lookup(const std::pair<std::string_view, T*> (&table)[N], std::string_view name) {
    for (const auto& [key, model] : table) {
        if (key == name) return *model;
    }
    throw std::logic_error("no model for control " + std::string(name));
}

ListBox& ListModel(TForm2& f, std::string_view name) {
    const std::pair<std::string_view, ListBox*> table[] = {
        {"SweepSpeed", &f.SweepSpeed}, {"SyncSrcBox", &f.SyncSrcBox}, {"SyncPolBox", &f.SyncPolBox},
        {"ComPort", &f.ComPort},       {"Chan1Probe", &f.Chan1Probe}, {"Scale1", &f.Scale1},
        {"Chan2Probe", &f.Chan2Probe}, {"Scale2", &f.Scale2},         {"Waveform1", &f.Waveform1},
        {"Waveform2", &f.Waveform2}};
    return Lookup(table, name);
}

CheckBox& CheckModel(TForm2& f, std::string_view name) {
    const std::pair<std::string_view, CheckBox*> table[] = {{"Scope1CheckBox", &f.Scope1CheckBox},
                                                            {"Scope2CheckBox", &f.Scope2CheckBox},
                                                            {"Fft1CheckBox", &f.Fft1CheckBox},
                                                            {"Fft2CheckBox", &f.Fft2CheckBox},
                                                            {"HoldBox", &f.HoldBox},
                                                            {"EnableA", &f.EnableA},
                                                            {"EnableB", &f.EnableB}};
    return Lookup(table, name);
}

EditBox& EditModel(TForm2& f, std::string_view name) {
    const std::pair<std::string_view, EditBox*> table[] = {
        {"Freq1", &f.Freq1}, {"Freq2", &f.Freq2}, {"Ampl1", &f.Ampl1}, {"Ampl2", &f.Ampl2}};
    return Lookup(table, name);
}

std::function<void()> ButtonHandler(TForm2& f, std::string_view name) {
    if (name == "RefreshComm") return [&f] { f.RefreshCommClick(); };
    if (name == "Defaults") return [&f] { f.DefaultsClick(); };
    if (name == "Button1") return [&f] { f.Button1Click(); };
    throw std::logic_error("no handler for button " + std::string(name));
}

QWidget* CreateWidget(const ControlPlacement& control, TForm2& f, const Dispatcher& dispatch,
                      QWidget* parent) {
    const QString text =
        QString::fromLatin1(control.text.data(), static_cast<qsizetype>(control.text.size()));
    switch (control.kind) {
        case ControlKind::ListBox:
            return new ListBoxWidget(ListModel(f, control.name), dispatch, parent);
        case ControlKind::CheckBox:
            return new CheckBoxWidget(CheckModel(f, control.name), text, dispatch, parent);
        case ControlKind::EditBox:
            return new EditBoxWidget(EditModel(f, control.name), dispatch, parent);
        case ControlKind::Button:
            return new ButtonWidget(text, ButtonHandler(f, control.name), dispatch, parent);
        case ControlKind::Label:
            return new LabelBox(control, parent);
        case ControlKind::Memo:
            if (control.name != "Display") break;
            return new MemoWidget(f.Display, parent);
    }
    throw std::logic_error("no widget for control " + std::string(control.name));
}

}  // namespace

QWidget* CreateControl(const ControlPlacement& control, TForm2& form, const Dispatcher& dispatch,
                       QWidget* parent) {
    QWidget* widget = CreateWidget(control, form, dispatch, parent);
    widget->setObjectName(
        QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size())));
    widget->setGeometry(control.left, control.top, control.width, control.height);
    // The refresh button is left out of the Tab order; a click still focuses it.
    if (control.name == "RefreshComm") widget->setFocusPolicy(Qt::ClickFocus);
    return widget;
}

}  // namespace velmora
