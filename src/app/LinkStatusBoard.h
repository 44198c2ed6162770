#pragma once

#include <cstdint>
#include <functional>

#include "controls/Canvas.h"
#include "controls/Memo.h"
#include "display/DisplayInputs.h"
#include "display/LinkStatusText.h"
#include "link/LinkCondition.h"
#include "link/SerialLink.h"

namespace velmora {

// What the picture and the log say about the link, and when. A failure is
// logged once as it begins and once as it ends, never once per tick, and
// its text stands until a frame arrives: a port reopened after a pull still
// says so until the instrument answers. A missing answer no longer counts
// once Hold stops the requests. The text is drawn over the picture as it is,
// and drawn again (over the picture repainted without it) when it changes or
// moves: the log shown or hidden, the window resized.
class LinkStatusBoard {
  public:
    explicit LinkStatusBoard(Memo& display) : display_(display) {}

    // The link's state now (LinkHealth), with the frames received so far;
    // `renamed` when the port may have changed (a click, a refresh).
    void Take(const SerialLink& link, LinkCondition now, bool hold, uint32_t framesReceived,
              bool renamed);
    // Puts the text on the picture where it is not yet; `repaint` draws the
    // picture again without any.
    void Show(Canvas& canvas, const DisplayInputs& in, int logTop,
              const std::function<void()>& repaint);
    // The picture was drawn over whole (a frame): no text is on it now.
    void PictureRedrawn() { onPicture_ = {}; }

    const LinkStatusLines& Lines() const { return lines_; }

  private:
    Memo& display_;
    LinkCondition condition_ = LinkCondition::kFramesArriving;
    LinkStatusLines lines_;         // what the link's state says now
    uint32_t framesAtFailure_ = 0;  // frames received when the failure began
    LinkStatusLines onPicture_;     // what the picture shows of it
    struct Place {
        int clientWidth = 0, clientHeight = 0, logTop = -1;
        friend bool operator==(const Place&, const Place&) = default;
    } place_;
};

}  // namespace velmora
