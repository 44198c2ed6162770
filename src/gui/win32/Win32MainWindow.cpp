#include "gui/win32/Win32MainWindow.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/ControlBinding.h"
#include "app/ControlLayout.h"
#include "capture/FrameFiles.h"
#include "gui/win32/ControlFactory.h"
#include "gui/win32/Latin1Text.h"
#include "gui/win32/PngEncoder.h"
#include "gui/win32/VelmoraResources.h"

namespace velmora {
namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraMainWindow";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr UINT_PTR kTimerId = 1;
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr int kBarIds = 90;

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(VELMORA_ICON));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VELMORA_ICON), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);  // fails harmlessly when a second window registers it again
}

// The outer size that gives the design client area.
SIZE DesignOuterSize() {
    RECT rect{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

int Clamp(int64_t v, int64_t lo, int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, SerialPorts& ports, SettingsStore& settings,
                                 Clock& clock, ErrorReporter& errors)
    : instance_(instance),
      font_(11, L"Tahoma", DEFAULT_PITCH | FF_SWISS),
      memoFont_(13, L"Courier", FIXED_PITCH | FF_MODERN),
      errors_(errors),
      canvas_(kClientWidth, kClientHeight, font_.Get(), GetSysColor(COLOR_BTNFACE)),
      form_(std::make_unique<TForm2>(
          FormServices{ports, settings, clock, canvas_, errors_, wallClock_, files_})),
      dispatch_([this](const std::function<void()>& event) { Run(event); }),
      designOuter_(DesignOuterSize()) {
    askSaveName = [this](const std::wstring& proposed) { return AskSaveNameInDialog(proposed); };
    CreateMainWindow();
    try {
        BuildControls();
        ReportGeometry();  // the "W:" line of start-up shows the real outer rectangle
        form_->Form.onChanged = [this] { MirrorWindow(); };
        MirrorWindow();
        Run([this] { form_->FormCreate(); });
        SetTimer(hwnd_, kTimerId, static_cast<UINT>(form_->Timer1.Interval()), nullptr);
    } catch (...) {
        Detach();
        throw;
    }
}

Win32MainWindow::~Win32MainWindow() {
    form_->Form.onChanged = nullptr;
    Detach();
    syncPosBar_.reset();
    syncVoltBar_.reset();
    controls_.clear();
}

// The window outlives no object of ours: its procedure lets go of this one
// first, so destroying it here ends no message loop and runs no handler.
void Win32MainWindow::Detach() {
    if (!IsWindow(hwnd_)) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

void Win32MainWindow::CreateMainWindow() {
    RegisterWindowClass(instance_, WindowProc);
    const std::wstring caption = WidenLatin1(form_->Form.Caption());
    const HWND created =
        CreateWindowExW(kExStyle, kWindowClass, caption.c_str(), kStyle, kDesignLeft, kDesignTop,
                        designOuter_.cx, designOuter_.cy, nullptr, nullptr, instance_, this);
    if (created == nullptr) {
        throw std::runtime_error("cannot create the main window (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    hwnd_ = created;
}

ChildContext Win32MainWindow::Context(int id) const {
    return ChildContext{hwnd_, instance_, font_.Get(), memoFont_.Get(), dispatch_, id};
}

void Win32MainWindow::BuildControls() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const BoundControl bound = BindControl(kControlLayout[i], *form_);
        controls_.push_back(
            CreateChildControl(bound, Context(kFirstControlId + static_cast<int>(i))));
    }
    syncVoltBar_ = std::make_unique<ScrollBarControl>(form_->SyncVoltBar, true, L"Sync Level",
                                                      Context(kBarIds));
    syncPosBar_ = std::make_unique<ScrollBarControl>(form_->SyncPosBar, false, L"Sync Position",
                                                     Context(kBarIds + 1));
    DockScrollBars();
}

HWND Win32MainWindow::ControlHandle(std::string_view name) const {
    if (name == "SyncVoltBar") return syncVoltBar_->Handle();
    if (name == "SyncPosBar") return syncPosBar_->Handle();
    for (std::size_t i = 0; i < kControlCount && i < controls_.size(); ++i) {
        if (kControlLayout[i].name == name) return controls_[i]->Handle();
    }
    return nullptr;
}

void Win32MainWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

// An event that arrives while another is in the dispatcher can only come from
// the error box's own message loop (a timer tick): it is dropped, so no
// handler ever runs inside another.
void Win32MainWindow::Run(const std::function<void()>& event) {
    if (running_) return;
    running_ = true;
    form_->Dispatch(event);
    running_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32MainWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    // An error of the binding itself is shown and ends the program, which
    // then exits with code 0; errors of handlers never get here (Dispatch).
    try {
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& e) {
        self->errors_.ShowError(e.what());
    } catch (...) {
        self->errors_.ShowError("");
    }
    PostQuitMessage(0);
    return 0;
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScroll(wParam, lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kTimerId && form_->Timer1.Enabled() && form_->Timer1.onTick) {
                Run(form_->Timer1.onTick);
            }
            return 0;
        case WM_SIZE:
            OnSize(wParam);
            return 0;
        case WM_MOVE:
            ReportGeometry();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            OnMouse(message, lParam);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole client area
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kTimerId);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void Win32MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) return;  // menus and accelerators: the window has none
    const int index = static_cast<int>(LOWORD(wParam)) - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size())) return;
    ChildControl& control = *controls_[static_cast<std::size_t>(index)];
    if (reinterpret_cast<HWND>(lParam) == control.Handle()) control.OnCommand(HIWORD(wParam));
}

void Win32MainWindow::OnScroll(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    for (ScrollBarControl* bar : {syncVoltBar_.get(), syncPosBar_.get()}) {
        if (bar != nullptr && from == bar->Handle()) bar->OnScroll(LOWORD(wParam));
    }
}

// The picture keeps what it holds; new area shows the window's background
// until the next frame. A minimised window keeps its picture and sizes.
void Win32MainWindow::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED || form_ == nullptr) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right > 0 && client.bottom > 0) canvas_.Resize(client.right, client.bottom);
    form_->Form.SetClientSize(client.right, client.bottom);
    DockScrollBars();
    ReportGeometry();
}

// The level bar runs down the left edge above the position bar, which spans
// the bottom edge; both follow the client size.
void Win32MainWindow::DockScrollBars() {
    if (syncVoltBar_ == nullptr || syncPosBar_ == nullptr) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int posTop = client.bottom - kSyncPosBarHeight;
    syncPosBar_->Place(0, posTop, client.right, kSyncPosBarHeight);
    syncVoltBar_->Place(kSyncVoltBarMargin, kSyncVoltBarMargin, kSyncVoltBarWidth,
                        std::max(0, posTop - 2 * kSyncVoltBarMargin));
}

// Caption and outer geometry set by the program (start-up, settings file). A
// hand-edited settings file may ask for any size; the picture is a bitmap of
// the client size, so the window is kept within the screen (or the design
// size, where the screen is smaller). The model keeps the values as given.
void Win32MainWindow::MirrorWindow() {
    if (mirroring_) return;
    mirroring_ = true;
    const Window& model = form_->Form;
    SetWindowTextW(hwnd_, WidenLatin1(model.Caption()).c_str());
    const int64_t maxWidth =
        std::max<int64_t>(GetSystemMetrics(SM_CXVIRTUALSCREEN), designOuter_.cx);
    const int64_t maxHeight =
        std::max<int64_t>(GetSystemMetrics(SM_CYVIRTUALSCREEN), designOuter_.cy);
    const int width = Clamp(model.Width(), 1, maxWidth);
    const int height = Clamp(model.Height(), 1, maxHeight);
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    if (outer.left != model.Left() || outer.top != model.Top() ||
        outer.right - outer.left != width || outer.bottom - outer.top != height) {
        SetWindowPos(hwnd_, nullptr, model.Left(), model.Top(), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    mirroring_ = false;
}

// Where the user (or the system) put the window, as the settings file will
// store it. A minimised window has no place of its own.
void Win32MainWindow::ReportGeometry() {
    if (mirroring_ || form_ == nullptr || IsIconic(hwnd_)) return;
    mirroring_ = true;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    form_->Form.SetGeometry(outer.left, outer.top, outer.right - outer.left,
                            outer.bottom - outer.top);
    mirroring_ = false;
}

// Disabled controls (the greyed labels) take no mouse input, so a click on
// them is a click on the surface.
bool Win32MainWindow::OnSurface(POINT at) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const HWND hit = ChildWindowFromPointEx(
        hwnd_, at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    return PtInRect(&client, at) && hit == hwnd_;
}

void Win32MainWindow::OnMouse(UINT message, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (message == WM_LBUTTONDOWN) {
        surfacePressed_ = OnSurface(at);
        if (surfacePressed_) SetCapture(hwnd_);
        return;
    }
    const bool click = surfacePressed_ && OnSurface(at);
    surfacePressed_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (click) Run([this] { form_->ScreenClick(); });
}

void Win32MainWindow::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd_, &paint);
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas_.Dc(), r.left, r.top,
           SRCCOPY);
    EndPaint(hwnd_, &paint);
}

void Win32MainWindow::OnClose() {
    KillTimer(hwnd_, kTimerId);
    Run([this] { form_->FormClose(); });
    DestroyWindow(hwnd_);
}

namespace {

bool Pressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// A box the user types into: there M is a letter, not a command.
bool TypesText(HWND focus) {
    wchar_t name[16]{};
    if (focus == nullptr || GetClassNameW(focus, name, 16) == 0) return false;
    return lstrcmpiW(name, L"Edit") == 0 && (GetWindowLongW(focus, GWL_STYLE) & ES_READONLY) == 0;
}

}  // namespace

bool Win32MainWindow::TranslateKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !IsWindow(hwnd_)) return false;
    if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
    const bool control = Pressed(VK_CONTROL), alt = Pressed(VK_MENU);
    if (message.wParam == 'S' && control && !alt) {
        SaveFrame();
        return true;
    }
    if (message.wParam == 'M' && !control && !alt && !TypesText(GetFocus())) {
        Run([this] { form_->ToggleMeasurementReadout(); });
        return true;
    }
    return false;
}

// The frame and the picture are taken when the user asks: ticks go on while
// the dialog is open.
void Win32MainWindow::SaveFrame() {
    bool ready = false;
    Run([&] { ready = form_->CanSaveFrame(); });
    if (!ready) return;
    const FrameRecord frame = form_->ShownFrame();
    const std::vector<uint32_t> picture = canvas_.CopyPixels();
    const int width = canvas_.Width(), height = canvas_.Height();
    const std::wstring name = WidenUtf8(ProposedCaptureName(wallClock_.Now()));
    const std::wstring chosen = askSaveName(SaveFolder() + L"\\" + name);
    if (chosen.empty()) return;
    const std::size_t slash = chosen.find_last_of(L"\\/");
    if (slash != std::wstring::npos) saveFolder_ = chosen.substr(0, slash);
    std::string png, error;
    if (!EncodePng(picture, width, height, png, error)) {
        Run([&] { throw std::runtime_error("Cannot save the picture: " + error); });
        return;
    }
    const std::string base = CaptureBaseName(NarrowToUtf8(chosen));
    Run([&] { form_->SaveFrame(frame, base, png); });
}

std::wstring Win32MainWindow::SaveFolder() const {
    if (!saveFolder_.empty()) return saveFolder_;
    std::wstring folder(32768, L'\0');
    const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    folder.resize(n < folder.size() ? n : 0);
    return folder.empty() ? L"." : folder;
}

// The system's dialog, in the folder of the proposed path. It must not change
// the current folder: Config.Ini is kept there.
std::wstring Win32MainWindow::AskSaveNameInDialog(const std::wstring& proposed) {
    std::wstring path = proposed;
    path.resize(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd_;
    dialog.lpstrFilter = L"Samples (*.csv)\0*.csv\0";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = L"Save frame (CSV and PNG)";
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return {};
    return std::wstring(path.c_str());
}

}  // namespace velmora
