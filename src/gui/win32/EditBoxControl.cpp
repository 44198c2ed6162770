#include "gui/win32/EditBoxControl.h"

#include <vector>

#include "gui/win32/Latin1Text.h"

namespace velmora {
namespace {

ChildParams EditParams(const ControlPlacement& p, bool digitsOnly) {
    const DWORD style = WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    return ChildParams{L"EDIT",          L"",     style | (digitsOnly ? ES_NUMBER : 0),
                       WS_EX_CLIENTEDGE, p.left,  p.top,
                       p.width,          p.height};
}

}  // namespace

EditBoxControl::EditBoxControl(const ControlPlacement& placement, EditBox& model,
                               const ChildContext& context)
    : ChildControl(context, EditParams(placement, model.DigitsOnly())),
      model_(model),
      dispatch_(context.dispatch) {
    Mirror();
    model_.onChanged = [this] { Mirror(); };
}

EditBoxControl::~EditBoxControl() { model_.onChanged = nullptr; }

std::wstring EditBoxControl::Shown() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd_, text.data(), length + 1);
    return std::wstring(text.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

void EditBoxControl::OnCommand(WORD code) {
    if (code != EN_CHANGE || mirroring_) return;
    std::string typed = NarrowToLatin1(Shown());
    dispatch_([this, &typed] { model_.SetText(std::move(typed)); });
}

void EditBoxControl::Mirror() {
    const std::wstring text = WidenLatin1(model_.Text());
    if (text == Shown()) return;
    mirroring_ = true;
    SetWindowTextW(hwnd_, text.c_str());
    mirroring_ = false;
}

}  // namespace velmora
