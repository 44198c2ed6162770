#include "gui/win32/EditBoxControl.h"

#include <algorithm>
#include <vector>

#include "gui/win32/Latin1Text.h"

namespace velmora {
namespace {

// ES_NUMBER for the digits-only boxes; the decimal box types its point
// through the subclass instead.
ChildParams EditParams(const ControlPlacement& p, EditChars chars) {
    const DWORD style = WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    return ChildParams{
        L"EDIT",          L"",     style | (chars == EditChars::kDigits ? ES_NUMBER : 0),
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
    : ChildControl(context, EditParams(placement, model.Chars())),
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
    auto* control = reinterpret_cast<EditBoxControl*>(self);
    if (message == WM_PASTE) {
        control->PasteWhole();
        return 0;
    }
    // The decimal box has no ES_NUMBER: its typing is checked here. Control
    // characters (Backspace, Ctrl+letters) are editing, not typing.
    if (message == WM_CHAR && wParam >= L' ' &&
        !control->Takes(std::wstring(1, static_cast<wchar_t>(wParam)))) {
        control->Refuse();
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Whether `inserted` may replace the selection: only what the model lets in
// whole, and nothing outside Latin-1.
bool EditBoxControl::Takes(const std::wstring& inserted) const {
    const std::string latin = NarrowToLatin1(inserted);
    if (WidenLatin1(latin) != inserted) return false;
    DWORD start = 0, end = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    std::wstring kept = Shown();
    if (start < end && end <= kept.size()) kept.erase(start, end - start);
    return model_.AcceptsInsert(latin, NarrowToLatin1(kept));
}

// The edit box's own refusal: the balloon ES_NUMBER shows, or a beep where
// the system has no balloons.
void EditBoxControl::Refuse() const {
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof tip;
    tip.pszTitle = L"Unacceptable Character";
    tip.pszText = L"You can only type a number here.";
    tip.ttiIcon = TTI_ERROR;
    if (!SendMessageW(hwnd_, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip))) {
        MessageBeep(MB_OK);
    }
}

// A paste that holds anything typing would refuse is refused whole, never
// filtered into another number; otherwise it replaces the selection and the
// edit's EN_CHANGE hands the new text to the model.
void EditBoxControl::PasteWhole() {
    const std::wstring pasted = ClipboardText(hwnd_);
    if (!Takes(pasted)) {
        Refuse();
        return;
    }
    if (pasted.empty()) return;
    SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
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
