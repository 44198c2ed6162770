#include "app/LinkStatusBoard.h"

#include <utility>

namespace velmora {

void LinkStatusBoard::Take(const SerialLink& link, LinkCondition now, bool hold,
                           uint32_t framesReceived, bool renamed) {
    const bool framesCame = framesReceived != framesAtFailure_;
    if (!IsFailure(now) && !lines_.Empty()) {
        const bool held = hold && (condition_ == LinkCondition::kNoAnswer ||
                                   condition_ == LinkCondition::kNotFrames);
        if (!framesCame && !held) now = condition_;
    }
    if (now == condition_ && !renamed) return;
    condition_ = now;
    LinkStatusLines lines = LinkStatusText(now, link.PortName(), link.OpenError());
    if (lines == lines_) return;
    if (!lines.Empty()) {
        display_.Append(lines.what);
    } else {
        display_.Append(link.PortName() + (framesCame ? ": open, frames arriving" : ": open"));
    }
    if (lines_.Empty()) framesAtFailure_ = framesReceived;
    lines_ = std::move(lines);
}

void LinkStatusBoard::Show(Canvas& canvas, const DisplayInputs& in, int logTop,
                           const std::function<void()>& repaint) {
    const Place place{in.clientWidth, in.clientHeight, logTop};
    if (onPicture_ == lines_ && (lines_.Empty() || place == place_)) return;
    if (!onPicture_.Empty() || !lines_.Empty()) repaint();
    DrawLinkStatus(canvas, lines_, in, logTop);
    onPicture_ = lines_;
    place_ = place;
}

}  // namespace velmora
