#include "gui/win32/EditBoxControl.h"

#include <algorithm>
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

constexpr UINT_PTR kSubclassId = 1;

// The clipboard's text; empty when it holds none or another program has it open.
std::wstring ClipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
            const std::size_t units = GlobalSize(data) / sizeof(wchar_t);
            text.assign(locked, std::find(locked, locked + units, L'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

EditBoxControl::EditBoxControl(const ControlPlacement& placement, EditBox& model,
                               const ChildContext& context)
    : ChildControl(context, EditParams(placement, model.DigitsOnly())),
      model_(model),
      dispatch_(context.dispatch) {
    Mirror();
    model_.onChanged = [this] { Mirror(); };
    if (model_.DigitsOnly()) {
        SetWindowSubclass(hwnd_, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
}

EditBoxControl::~EditBoxControl() {
    model_.onChanged = nullptr;
    RemoveWindowSubclass(hwnd_, Subclass, kSubclassId);
}

LRESULT CALLBACK EditBoxControl::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    if (message != WM_PASTE) return DefSubclassProc(hwnd, message, wParam, lParam);
    reinterpret_cast<EditBoxControl*>(self)->PasteTypedPart();
    return 0;
}

// Replaces the selection as typing would; the edit's EN_CHANGE then hands
// the new text to the model. A paste that loses characters beeps, as a
// refused key does.
void EditBoxControl::PasteTypedPart() {
    const std::string pasted = NarrowToLatin1(ClipboardText(hwnd_));
    const std::string kept = model_.TypedPart(pasted);
    if (kept.size() != pasted.size()) MessageBeep(MB_OK);
    if (kept.empty()) return;
    const std::wstring text = WidenLatin1(kept);
    SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

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
