#pragma once

#include <span>
#include <vector>

namespace velmora {

// Where one control of the table goes, in the pixels its window places
// controls in.
struct ControlBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ControlBox&) const = default;
};

// The boxes of the control table (kControlLayout, entry for entry) in a
// window whose text is drawn at `dpi` and whose controls are placed in
// pixels of `boxDpi`: the monitor's DPI on Win32, the design DPI in Qt, whose
// logical pixels the toolkit scales itself. At the design DPI they are the
// table's, whatever the text needs. At any other the table is scaled, and a
// box narrower than `needed[i]` (what control i's text takes in the window's
// font at `dpi`, measured by the window, in box pixels; 0 for none, and for
// entries past the span's end) grows to it: to the right, or both ways when
// its text is centred. A control in the same row to the right of one that
// grew moves right by as much as they would overlap beyond what the
// table's own boxes already overlap, and so on along the row; so does a
// centred box that grew into its left neighbour. A row is the controls of
// which one's vertical middle lies within the other's height.
std::vector<ControlBox> FitControlBoxes(int dpi, int boxDpi, std::span<const int> needed);

}  // namespace velmora
