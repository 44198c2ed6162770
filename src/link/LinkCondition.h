#pragma once

namespace velmora {

// What the link is doing, as the user is told it. Three of the states say
// that the instrument answers or may yet answer; the others are failures,
// each with what the user can do about it.
enum class LinkCondition {
    // Open, and frames arrive (or have not been asked for long enough to tell).
    kFramesArriving,
    // Open, but nothing came back to a request for 2 s.
    kNoAnswer,
    // Open, bytes come back, but no frame for 2 s (a device that is not the
    // instrument, a damaged line).
    kNotFrames,
    // The port went away while open (a pulled cable); looked for again.
    kGone,
    // Not open, and why:
    kNoPorts,       // the system lists no serial port at all
    kNoneChosen,    // ports are listed, none is selected
    kPathAbsent,    // the stored port is not listed now; looked for again
    kDoesNotExist,  // the open found nothing at the path; looked for again
    kPermissionDenied,
    kBusy,           // another program holds the port
    kNotSerialPort,  // opens, but is no serial device: closed unwritten
    kOtherError,
};

// A failure the picture and the log report.
constexpr bool IsFailure(LinkCondition c) { return c != LinkCondition::kFramesArriving; }

// A port that is looked for once a second and reopened when it is back.
constexpr bool IsAwaitedBack(LinkCondition c) {
    return c == LinkCondition::kGone || c == LinkCondition::kPathAbsent ||
           c == LinkCondition::kDoesNotExist;
}

}  // namespace velmora
