#include "gui/win32/Win32MainWindow.h"

#include <exception>

#include "app/ControlLayout.h"
#include "gui/win32/MainWindowClass.h"
#include "gui/win32/MonitorDpi.h"
#include "gui/win32/PixelRegion.h"
#include "gui/win32/WindowKeys.h"

namespace velmora {
namespace {

constexpr UINT_PTR kTimerId = 1;

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, SerialPorts& ports, SettingsStore& settings,
                                 Clock& clock, ErrorReporter& errors)
    : instance_(instance),
      errors_(errors),
      canvas_(kClientWidth, kClientHeight, controls_.TextFont(), GetSysColor(COLOR_BTNFACE)),
      form_(std::make_unique<TForm2>(
          FormServices{ports, settings, clock, canvas_, errors_, wallClock_, files_})),
      dispatch_([this](const std::function<void()>& event) { Run(event); }),
      placement_(form_->Form, kMainWindowStyle, kMainWindowExStyle),
      saveFlow_(*form_, wallClock_, dispatch_, '\\') {
    askSaveName = [this](const std::wstring& proposed) {
        return AskSaveNameInDialog(hwnd_, proposed);
    };
    hwnd_ = CreateMainWindow(instance_, WindowProc, form_->Form.Caption(), placement_.DesignOuter(),
                             this);
    try {
        controls_.Build(*form_, hwnd_, instance_, dispatch_);
        DockScrollBars();
        TakeMonitorDpi();
        placement_.Report();  // the "W:" line of start-up shows the real outer rectangle
        form_->Form.onChanged = [this] { placement_.Mirror(); };
        placement_.Mirror();
        Run([this] { form_->FormCreate(); });
        controls_.Fit(placement_.Dpi());  // start-up filled the port list and relabelled the ranges
        SetTimer(hwnd_, kTimerId, static_cast<UINT>(form_->Timer1.Interval()), nullptr);
    } catch (...) {
        Detach();
        throw;
    }
}

Win32MainWindow::~Win32MainWindow() {
    form_->Form.onChanged = nullptr;
    Detach();
    controls_.Clear();
}

// The window outlives no object of ours: its procedure lets go of this one
// first, so destroying it here ends no message loop and runs no handler.
void Win32MainWindow::Detach() {
    if (!IsWindow(hwnd_)) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

// The window was made at the design size of a 96-DPI monitor; on a denser
// one it takes the design place and size scaled to it.
void Win32MainWindow::TakeMonitorDpi() {
    const int dpi = WindowDpi(hwnd_);
    if (dpi == placement_.Dpi()) return;
    ApplyDpi(dpi);
    placement_.TakeDesignPlace();
}

// Fonts, list rows, the controls' places and sizes and the docked bars
// follow the monitor's DPI; the picture is drawn at device pixels, its
// labels' offsets scaled by the form's DPI.
void Win32MainWindow::ApplyDpi(int dpi) {
    placement_.SetDpi(dpi);
    controls_.Rescale(dpi, canvas_);
    form_->Form.SetDpi(dpi);
    DockScrollBars();
}

// Moved to a monitor of another DPI (or its scale changed): the system
// suggests the new outer rectangle. Wine 8 never sends this.
void Win32MainWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == 0) return;
    ApplyDpi(HIWORD(wParam));
    placement_.MoveTo(*reinterpret_cast<const RECT*>(lParam));
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
    canvas_.Begin();
    form_->Dispatch(event);
    canvas_.End();
    running_ = false;
    InvalidatePixels(hwnd_, canvas_.TakeChangedArea());  // only what changed is shown again
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32MainWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        self->focus_ = WindowFocus(hwnd);
        self->placement_.Attach(hwnd);
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
    if (controls_.Take(message, wParam, lParam) || focus_.Take(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimerId && form_->Timer1.Enabled() && form_->Timer1.onTick) {
                Run(form_->Timer1.onTick);
            }
            return 0;
        case WM_SIZE:
            OnSize(wParam);
            return 0;
        case WM_MOVE:
            placement_.Report();
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

// The picture keeps what it holds; new area shows the window's background
// until the next frame. A minimised window keeps its picture and sizes.
void Win32MainWindow::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED || form_ == nullptr) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right > 0 && client.bottom > 0) canvas_.Resize(client.right, client.bottom);
    form_->Form.SetClientSize(client.right, client.bottom);
    DockScrollBars();
    placement_.Report();
}

void Win32MainWindow::DockScrollBars() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    controls_.Dock(client.right, client.bottom, placement_.Dpi());
}

// Disabled controls (the greyed labels) are skipped: over them the window
// itself is hit.
SurfaceClick::At Win32MainWindow::Where(POINT at) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const HWND hit = ChildWindowFromPointEx(
        hwnd_, at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    return SurfaceClick::At{true, PtInRect(&client, at) != FALSE, hit != hwnd_};
}

void Win32MainWindow::OnMouse(UINT message, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (message == WM_LBUTTONDOWN) {
        if (click_.Press(Where(at))) SetCapture(hwnd_);
        return;
    }
    const bool click = click_.Release(Where(at));
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

bool Win32MainWindow::TranslateKey(const MSG& message) {
    switch (WindowKeyOf(message, hwnd_)) {
        case WindowKey::SaveFrame:
            SaveFrame();
            return true;
        case WindowKey::ToggleReadout:
            Run([this] { form_->ToggleMeasurementReadout(); });
            return true;
        case WindowKey::None:
            break;
    }
    return false;
}

void Win32MainWindow::SaveFrame() {
    Win32SaveToolkit toolkit(canvas_, askSaveName);
    saveFlow_.Save(toolkit);
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

}  // namespace velmora
