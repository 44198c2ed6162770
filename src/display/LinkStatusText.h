#pragma once

#include <string>

#include "controls/Canvas.h"
#include "display/DisplayInputs.h"
#include "link/LinkCondition.h"

namespace velmora {

// What the picture says while the link fails: what happened, and what to
// do. Both empty while frames arrive.
struct LinkStatusLines {
    std::string what;
    std::string todo;
    bool Empty() const { return what.empty(); }
    friend bool operator==(const LinkStatusLines&, const LinkStatusLines&) = default;
};

// The lines for `condition` of the port called `name` (its list entry, or
// its path when it is not listed); `openError` is the system's words for an
// open that failed otherwise than the named ways. "ttyACM0: gone
// (disconnected)" / "plug it in: it reopens by itself", and so on.
LinkStatusLines LinkStatusText(LinkCondition condition, const std::string& name,
                               const std::string& openError);

// Draws the two lines in black, each centred across the plot, the pair
// centred in its height; or, with `logTop` not negative (the log is shown
// there and would cover the middle), standing just above the log. Text only,
// over the white brush.
void DrawLinkStatus(Canvas& canvas, const LinkStatusLines& lines, const DisplayInputs& in,
                    int logTop);

}  // namespace velmora
