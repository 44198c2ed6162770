#include "gui/win32/MemoControl.h"

#include "gui/win32/Latin1Text.h"

namespace velmora {
namespace {

ChildParams MemoParams(const ControlPlacement& p) {
    const DWORD style = WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                        ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    return ChildParams{L"EDIT", L"", style, WS_EX_CLIENTEDGE, p.left, p.top, p.width, p.height};
}

// A line may carry its own CR LF (the "W:" line does); the box separates lines itself.
std::string WithoutLineEnd(const std::string& line) {
    std::size_t n = line.size();
    if (n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n') {
        n -= 2;
    } else if (n >= 1 && line[n - 1] == '\r') {
        n -= 1;
    }
    return line.substr(0, n);
}

}  // namespace

MemoControl::MemoControl(const ControlPlacement& placement, Memo& model,
                         const ChildContext& context)
    : ChildControl(context, MemoParams(placement)), model_(model) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(context.memoFont), FALSE);
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);  // as much as the box can hold
    for (const std::string& line : model_.Lines()) Append(line);
    ShowWindow(hwnd_, model_.Visible() ? SW_SHOW : SW_HIDE);
    model_.onAppend = [this](const std::string& line) { Append(line); };
    model_.onCleared = [this] { SetWindowTextW(hwnd_, L""); };
    model_.onVisibility = [this] { ShowWindow(hwnd_, model_.Visible() ? SW_SHOW : SW_HIDE); };
}

MemoControl::~MemoControl() {
    model_.onAppend = nullptr;
    model_.onCleared = nullptr;
    model_.onVisibility = nullptr;
}

void MemoControl::Rescale(const ChildScale& scale) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(scale.memoFont), TRUE);
}

void MemoControl::Append(const std::string& line) {
    const int length = GetWindowTextLengthW(hwnd_);
    const std::wstring text = (length > 0 ? L"\r\n" : L"") + WidenLatin1(WithoutLineEnd(line));
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    ForgetOldestLines();
}

// The box forgets old lines as the log does: past the log's limit the oldest
// quarter goes at once, so a window left running neither grows without end
// nor rewrites the box at every line.
void MemoControl::ForgetOldestLines() {
    const LRESULT lines = SendMessageW(hwnd_, EM_GETLINECOUNT, 0, 0);
    if (lines <= static_cast<LRESULT>(Memo::kMaxLines)) return;
    const auto firstKept =
        static_cast<WPARAM>(lines - static_cast<LRESULT>(Memo::kMaxLines - Memo::kMaxLines / 4));
    const LRESULT cut = SendMessageW(hwnd_, EM_LINEINDEX, firstKept, 0);
    if (cut <= 0) return;
    SendMessageW(hwnd_, EM_SETSEL, 0, cut);
    SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    const int length = GetWindowTextLengthW(hwnd_);
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
}

}  // namespace velmora
