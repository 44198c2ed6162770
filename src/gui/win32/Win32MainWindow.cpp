#include "gui/win32/Win32MainWindow.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/ControlBinding.h"
#include "app/ControlLayout.h"
#include "capture/FrameFiles.h"
#include "controls/DpiScale.h"
#include "gui/win32/ControlFactory.h"
#include "gui/win32/Latin1Text.h"
#include "gui/win32/MonitorDpi.h"
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

// The outer size that gives the design client area at `dpi`.
SIZE DesignOuterSize(int dpi) {
    const SIZE client{ToDevicePixels(kClientWidth, dpi), ToDevicePixels(kClientHeight, dpi)};
    return OuterSizeFor(client, kStyle, kExStyle, dpi);
}

int Clamp(int64_t v, int64_t lo, int64_t hi) { return static_cast<int>(std::clamp(v, lo, hi)); }

// Further out than any screen reaches: coordinates beyond it are brought in
// before anything is added to them.
constexpr int64_t kFarAway = 1 << 24;

// A place on no monitor (one unplugged since the settings file was written)
// comes back inside the nearest monitor's work area, its top left corner
// first, so that the caption can be reached.
RECT OnAMonitor(RECT r) {
    if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr) return r;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return r;
    const RECT& work = info.rcWork;
    const LONG width = r.right - r.left;
    const LONG height = r.bottom - r.top;
    const LONG left = std::max(work.left, std::min(r.left, work.right - width));
    const LONG top = std::max(work.top, std::min(r.top, work.bottom - height));
    return RECT{left, top, left + width, top + height};
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, SerialPorts& ports, SettingsStore& settings,
                                 Clock& clock, ErrorReporter& errors)
    : instance_(instance),
      fonts_(std::make_unique<WindowFonts>(kDesignDpi)),
      errors_(errors),
      canvas_(kClientWidth, kClientHeight, fonts_->text.Get(), GetSysColor(COLOR_BTNFACE)),
      form_(std::make_unique<TForm2>(
          FormServices{ports, settings, clock, canvas_, errors_, wallClock_, files_})),
      dispatch_([this](const std::function<void()>& event) { Run(event); }),
      designOuter_(DesignOuterSize(kDesignDpi)) {
    askSaveName = [this](const std::wstring& proposed) { return AskSaveNameInDialog(proposed); };
    CreateMainWindow();
    try {
        BuildControls();
        TakeMonitorDpi();
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
    return ChildContext{hwnd_, instance_, fonts_->text.Get(), fonts_->memo.Get(), dispatch_, id};
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

// The window was made at the design size of a 96-DPI monitor; on a denser
// one it takes the design place and size scaled to it.
void Win32MainWindow::TakeMonitorDpi() {
    const int dpi = WindowDpi(hwnd_);
    if (dpi == dpi_) return;
    ApplyDpi(dpi);
    SetWindowPos(hwnd_, nullptr, ToDevicePixels(kDesignLeft, dpi), ToDevicePixels(kDesignTop, dpi),
                 designOuter_.cx, designOuter_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fonts, list rows, the controls' places and sizes and the docked bars
// follow the monitor's DPI; the picture is drawn at device pixels, its
// labels' offsets scaled by the form's DPI.
void Win32MainWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    designOuter_ = DesignOuterSize(dpi);
    auto fonts = std::make_unique<WindowFonts>(dpi);
    canvas_.SetFont(fonts->text.Get());
    const ChildScale scale{dpi, fonts->text.Get(), fonts->memo.Get()};
    for (const auto& control : controls_) control->Rescale(scale);
    fonts_ = std::move(fonts);  // the old fonts are in use nowhere now
    form_->Form.SetDpi(dpi);
    LayoutControls();
    DockScrollBars();
}

void Win32MainWindow::LayoutControls() {
    for (std::size_t i = 0; i < kControlCount && i < controls_.size(); ++i) {
        const ControlPlacement& p = kControlLayout[i];
        controls_[i]->Place(ToDevicePixels(p.left, dpi_), ToDevicePixels(p.top, dpi_),
                            ToDevicePixels(p.width, dpi_), ToDevicePixels(p.height, dpi_));
    }
}

// Moved to a monitor of another DPI (or its scale changed): the system
// suggests the new outer rectangle. Wine 8 never sends this.
void Win32MainWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0) return;
    ApplyDpi(HIWORD(wParam));
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ReportGeometry();
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
        case WM_ENDSESSION:
            if (wParam != FALSE) SaveSettingsOnce(TForm2::ClosedBy::kSystem);
            return 0;
        case WM_ACTIVATE:
            OnActivate(wParam);
            return 0;
        case WM_SETFOCUS:
            RestoreFocus();
            return 0;
        case WM_NEXTDLGCTL:
            OnNextDlgCtl(wParam, lParam);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(wParam, lParam);
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
    const int posHeight = ToDevicePixels(kSyncPosBarHeight, dpi_);
    const int margin = ToDevicePixels(kSyncVoltBarMargin, dpi_);
    const int posTop = client.bottom - posHeight;
    syncPosBar_->Place(0, posTop, client.right, posHeight);
    syncVoltBar_->Place(margin, margin, ToDevicePixels(kSyncVoltBarWidth, dpi_),
                        std::max(0, posTop - 2 * margin));
}

// Caption and outer geometry set by the program (start-up, settings file).
// The model's geometry is in design pixels, the window's in device pixels.
// The model keeps the values as given.
void Win32MainWindow::MirrorWindow() {
    if (mirroring_) return;
    mirroring_ = true;
    const Window& model = form_->Form;
    SetWindowTextW(hwnd_, WidenLatin1(model.Caption()).c_str());
    const RECT wanted = OnAMonitor(DeviceRect(model));
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    if (!EqualRect(&outer, &wanted)) {
        SetWindowPos(hwnd_, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
                     wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    mirroring_ = false;
}

// The model's outer rectangle at the window's DPI. A hand-edited settings
// file may ask for any size; the picture is a bitmap of the client size, so
// the window is kept within the screen (or the design size, where the
// screen is smaller).
RECT Win32MainWindow::DeviceRect(const Window& model) const {
    const int64_t maxWidth =
        std::max<int64_t>(GetSystemMetrics(SM_CXVIRTUALSCREEN), designOuter_.cx);
    const int64_t maxHeight =
        std::max<int64_t>(GetSystemMetrics(SM_CYVIRTUALSCREEN), designOuter_.cy);
    const int left = Clamp(ToDevicePixels(model.Left(), dpi_), -kFarAway, kFarAway);
    const int top = Clamp(ToDevicePixels(model.Top(), dpi_), -kFarAway, kFarAway);
    const int width = Clamp(ToDevicePixels(model.Width(), dpi_), 1, maxWidth);
    const int height = Clamp(ToDevicePixels(model.Height(), dpi_), 1, maxHeight);
    return RECT{left, top, left + width, top + height};
}

// Where the user (or the system) put the window, as the settings file will
// store it: in design pixels, as a program unaware of DPI sees it, so that
// settings files stay alike at any DPI. A minimised window has no place of
// its own.
void Win32MainWindow::ReportGeometry() {
    if (mirroring_ || form_ == nullptr || IsIconic(hwnd_)) return;
    mirroring_ = true;
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    form_->Form.SetGeometry(ToDesignPixels(outer.left, dpi_), ToDesignPixels(outer.top, dpi_),
                            ToDesignPixels(outer.right - outer.left, dpi_),
                            ToDesignPixels(outer.bottom - outer.top, dpi_));
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
    SaveSettingsOnce(TForm2::ClosedBy::kUser);
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

// Config.Ini is written once, however the window ends: the close box (or a
// taskkill), or the end of the session, after which Windows may end the
// process without a WM_CLOSE. Also while a handler runs: a close from the
// error box's own message loop runs FormClose beside it (it only reads the
// controls), where the dispatcher's guard would drop it. A file that cannot
// be written is shown in the error box at a close by the user; at the end of
// the session, with nobody to click it away, it is only logged.
void Win32MainWindow::SaveSettingsOnce(TForm2::ClosedBy by) {
    if (settingsSaved_) return;
    settingsSaved_ = true;
    form_->Dispatch([this, by] { form_->FormClose(by); });
}

// The keyboard focus stays where the user left it when another window (or
// the error box) takes the activation, and comes back with it; at first it
// goes to the first tab stop.
void Win32MainWindow::OnActivate(WPARAM state) {
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) focus_ = focus;
    } else if (HIWORD(state) == 0) {  // not minimised
        RestoreFocus();
    }
}

void Win32MainWindow::RestoreFocus() {
    HWND target = focus_;
    if (target == nullptr || !IsWindow(target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    }
    if (target != nullptr) SetFocus(target);
}

// A multi-line edit (the log) asks for every key and passes Tab on to its
// parent as a dialog would take it: the next (wParam 0) or previous tab stop,
// or with lParam set the control in wParam.
void Win32MainWindow::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
    HWND next = nullptr;
    if (LOWORD(lParam) != 0) {
        next = reinterpret_cast<HWND>(wParam);
    } else {
        const HWND focus = GetFocus();
        next = GetNextDlgTabItem(hwnd_, focus == hwnd_ ? nullptr : focus, wParam != 0);
    }
    if (next != nullptr) SetFocus(next);
}

}  // namespace velmora
