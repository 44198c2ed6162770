#include "gui/win32/WindowControls.h"

#include <utility>

#include "app/ControlBinding.h"
#include "app/ControlLayout.h"
#include "app/ScrollBarDock.h"
#include "controls/DpiScale.h"
#include "gui/win32/ControlFactory.h"

namespace velmora {
namespace {

constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr int kBarIds = 90;

}  // namespace

void WindowControls::Build(TForm2& form, HWND parent, HINSTANCE instance,
                           const Dispatcher& dispatch) {
    const auto context = [&](int id) {
        return ChildContext{parent, instance, fonts_->text.Get(), fonts_->memo.Get(), dispatch, id};
    };
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const BoundControl bound = BindControl(kControlLayout[i], form);
        controls_.push_back(
            CreateChildControl(bound, context(kFirstControlId + static_cast<int>(i))));
    }
    syncVoltBar_ =
        std::make_unique<ScrollBarControl>(form.SyncVoltBar, true, L"Sync Level", context(kBarIds));
    syncPosBar_ = std::make_unique<ScrollBarControl>(form.SyncPosBar, false, L"Sync Position",
                                                     context(kBarIds + 1));
}

void WindowControls::Clear() {
    syncPosBar_.reset();
    syncVoltBar_.reset();
    controls_.clear();
}

void WindowControls::Rescale(int dpi, GdiCanvas& picture) {
    auto fonts = std::make_unique<WindowFonts>(dpi);
    picture.SetFont(fonts->text.Get());
    const ChildScale scale{dpi, fonts->text.Get(), fonts->memo.Get()};
    for (const auto& control : controls_) control->Rescale(scale);
    fonts_ = std::move(fonts);  // the old fonts are in use nowhere now
    Fit(dpi);
}

// Measured at the scaled places first: a list's frame and scroll bar, part
// of what it needs, are those of its size at this DPI.
void WindowControls::Fit(int dpi) {
    Place(FitControlBoxes(dpi, dpi, {}));
    std::vector<int> needed;
    for (const auto& control : controls_) needed.push_back(control->TextWidth(dpi));
    Place(FitControlBoxes(dpi, dpi, needed));
}

void WindowControls::Place(const std::vector<ControlBox>& boxes) {
    for (std::size_t i = 0; i < boxes.size() && i < controls_.size(); ++i) {
        controls_[i]->Place(boxes[i].left, boxes[i].top, boxes[i].width, boxes[i].height);
    }
}

void WindowControls::Dock(int clientWidth, int clientHeight, int dpi) {
    if (syncVoltBar_ == nullptr || syncPosBar_ == nullptr) return;
    const DockedBars bars = DockScrollBars(clientWidth, clientHeight, dpi);
    syncPosBar_->Place(bars.syncPos.left, bars.syncPos.top, bars.syncPos.width,
                       bars.syncPos.height);
    syncVoltBar_->Place(bars.syncVolt.left, bars.syncVolt.top, bars.syncVolt.width,
                        bars.syncVolt.height);
}

HWND WindowControls::Handle(std::string_view name) const {
    if (name == "SyncVoltBar") return syncVoltBar_->Handle();
    if (name == "SyncPosBar") return syncPosBar_->Handle();
    for (std::size_t i = 0; i < kControlCount && i < controls_.size(); ++i) {
        if (kControlLayout[i].name == name) return controls_[i]->Handle();
    }
    return nullptr;
}

bool WindowControls::Take(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        OnCommand(wParam, lParam);
    } else if (message == WM_HSCROLL || message == WM_VSCROLL) {
        OnScroll(wParam, lParam);
    } else {
        return false;
    }
    return true;
}

void WindowControls::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) return;  // menus and accelerators: the window has none
    const int index = static_cast<int>(LOWORD(wParam)) - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(controls_.size())) return;
    ChildControl& control = *controls_[static_cast<std::size_t>(index)];
    if (reinterpret_cast<HWND>(lParam) == control.Handle()) control.OnCommand(HIWORD(wParam));
}

void WindowControls::OnScroll(WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    for (ScrollBarControl* bar : {syncVoltBar_.get(), syncPosBar_.get()}) {
        if (bar != nullptr && from == bar->Handle()) bar->OnScroll(LOWORD(wParam));
    }
}

}  // namespace velmora
