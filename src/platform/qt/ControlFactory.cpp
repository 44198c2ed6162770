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

QWidget* CreateWidget(const ControlSpec& spec, TForm2& f, const Dispatcher& dispatch,
                      QWidget* parent) {
    const QString text =
        QString::fromLatin1(spec.text.data(), static_cast<qsizetype>(spec.text.size()));
    switch (spec.kind) {
        case ControlKind::ListBox:
            return new ListBoxWidget(ListModel(f, spec.name), dispatch, parent);
        case ControlKind::CheckBox:
            return new CheckBoxWidget(CheckModel(f, spec.name), text, dispatch, parent);
        case ControlKind::EditBox:
            return new EditBoxWidget(EditModel(f, spec.name), dispatch, parent);
        case ControlKind::Button:
            return new ButtonWidget(text, ButtonHandler(f, spec.name), dispatch, parent);
        case ControlKind::Label:
            return new LabelBox(spec, parent);
        case ControlKind::Memo:
            if (spec.name != "Display") break;
            return new MemoWidget(f.Display, parent);
    }
    throw std::logic_error("no widget for control " + std::string(spec.name));
}

}  // namespace

QWidget* CreateControl(const ControlSpec& spec, TForm2& form, const Dispatcher& dispatch,
                       QWidget* parent) {
    QWidget* widget = CreateWidget(spec, form, dispatch, parent);
    widget->setObjectName(
        QString::fromLatin1(spec.name.data(), static_cast<qsizetype>(spec.name.size())));
    widget->setGeometry(spec.left, spec.top, spec.width, spec.height);
    // The refresh button is left out of the Tab order; a click still focuses it.
    if (spec.name == "RefreshComm") widget->setFocusPolicy(Qt::ClickFocus);
    return widget;
}

}  // namespace velmora
