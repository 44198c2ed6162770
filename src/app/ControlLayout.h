#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

enum class ControlKind { ListBox, CheckBox, EditBox, Button, Label, Memo };
enum class Align { Left, Centre };

// Design position and text of one control, in client pixels. Texts are
// Latin-1. Labels are borderless read-only boxes; `enabled` greys them out.
struct ControlPlacement {
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;
    std::string_view text;
    Align align = Align::Left;
    bool enabled = true;
};

// Every placed control of the main window, in creation (and tab) order.
extern const ControlPlacement kControlLayout[];
extern const std::size_t kControlCount;

// The placement of the control called `name`, or null.
const ControlPlacement* FindControl(std::string_view name);

// The design geometry of the window and of the two docked scroll bars.
inline constexpr int kDesignLeft = 0;
inline constexpr int kDesignTop = 277;
inline constexpr int kClientWidth = 1511;
inline constexpr int kClientHeight = 899;
inline constexpr int kSyncVoltBarMargin = 3;
inline constexpr int kSyncVoltBarWidth = 10;
inline constexpr int kSyncPosBarHeight = 11;
inline constexpr int kListRowHeight = 13;

inline constexpr const char* kDesignCaption = "Velmora";
inline constexpr const char* kRunCaption = "Velmora Rev 1.31 Nov 25 2025 16:05:18";
inline constexpr const char* kApplicationTitle = "Velmora";

}  // namespace velmora
