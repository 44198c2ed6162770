#include "display/LinkStatusText.h"

#include <algorithm>
#include <cstdint>

#include "controls/DpiScale.h"
#include "display/PlotMapping.h"

namespace velmora {
namespace {

constexpr const char* kClickAgain = "click the port in the list to open it again";
constexpr const char* kReopensItself = "plug it in: it reopens by itself";
constexpr Rgb kBlack{0, 0, 0};
constexpr int kLineGap = 2;   // between the two lines, design pixels
constexpr int kAboveLog = 6;  // from the lower line to the log's top edge

LinkStatusLines Port(const std::string& name, const char* state, const std::string& why,
                     const char* todo) {
    return {name + ": " + state + " (" + why + ")", todo};
}

LinkStatusLines NotOpen(const std::string& name, const std::string& why) {
    return Port(name, "not open", why, kClickAgain);
}

}  // namespace

LinkStatusLines LinkStatusText(LinkCondition condition, const std::string& name,
                               const std::string& openError) {
    switch (condition) {
        case LinkCondition::kFramesArriving:
            return {};
        case LinkCondition::kNoAnswer:
            return Port(name, "open", "no answer for 2 s", kClickAgain);
        case LinkCondition::kNotFrames:
            return Port(name, "open", "answers that are not frames", kClickAgain);
        case LinkCondition::kGone:
            return Port(name, "gone", "disconnected", kReopensItself);
        case LinkCondition::kNoPorts:
            return {"no serial port found", "plug the instrument in, then Refresh Comm Ports"};
        case LinkCondition::kNoneChosen:
            return {"no port chosen", "pick the instrument's port in the list"};
        case LinkCondition::kPathAbsent:
            return {name + " is not there", "plug the instrument in, or pick its port"};
        case LinkCondition::kDoesNotExist:
            return Port(name, "not open", "does not exist", kReopensItself);
        case LinkCondition::kPermissionDenied:
            return NotOpen(name, "permission denied: serial ports belong to the dialout group");
        case LinkCondition::kBusy:
            return NotOpen(name, "busy: another program holds it");
        case LinkCondition::kNotSerialPort:
            return NotOpen(name, "not a serial port");
        case LinkCondition::kOtherError:
            break;
    }
    return NotOpen(name, openError.empty() ? "cannot be opened" : openError);
}

void DrawLinkStatus(Canvas& canvas, const LinkStatusLines& lines, const DisplayInputs& in,
                    int logTop) {
    if (lines.Empty()) return;
    const TextExtent what = canvas.MeasureText(lines.what.c_str());
    const TextExtent todo = canvas.MeasureText(lines.todo.c_str());
    const int gap = ToDevicePixels(kLineGap, in.dpi);
    const int64_t height = int64_t{what.height} + gap + todo.height;
    const int64_t plotLeft = in.syncVoltBarWidth;
    const int64_t plotWidth = std::max<int64_t>(0, int64_t{in.clientWidth} - plotLeft);
    const int64_t plotHeight =
        std::max<int64_t>(0, int64_t{in.clientHeight} - 1 - in.syncPosBarHeight);
    const int64_t top = logTop >= 0 ? logTop - ToDevicePixels(kAboveLog, in.dpi) - height
                                    : (plotHeight - height) / 2;
    const int64_t centre = plotLeft + plotWidth / 2;
    canvas.SetTextColor(kBlack);
    canvas.TextOut(PlotMapping::Narrow(centre - what.width / 2),
                   PlotMapping::Narrow(std::max<int64_t>(0, top)), lines.what.c_str());
    canvas.TextOut(PlotMapping::Narrow(centre - todo.width / 2),
                   PlotMapping::Narrow(std::max<int64_t>(0, top) + what.height + gap),
                   lines.todo.c_str());
}

}  // namespace velmora
