#pragma once

#include <string>

#include "capture/FrameRecord.h"
#include "system/OutputFiles.h"

namespace velmora {

// The name a save proposes: velmora-YYYYMMDD-HHMMSS.
std::string ProposedCaptureName(const LocalTime& now);

// `path` without a ".csv" or ".png" a save dialog may have added.
std::string CaptureBaseName(const std::string& path);

// What a save wrote, or where and why it stopped.
struct SaveResult {
    bool ok = true;
    std::string written;  // the paths written, ", " between them
    // "Cannot write PATH: REASON", or "Cannot replace PATH: REASON; the saved
    // file is STAND-IN" when the finished file could not take the old one's place.
    std::string error;
};

// Writes the frame on the screen as BASE.csv (its samples), BASE.png (`png`,
// the picture's encoded bytes) and, when a spectrum box was ticked for the
// picture, BASE-spectrum.csv. Each file is written whole beside an existing one
// and then renamed over it, so a failed save never costs the file it was to
// replace. Stops at the first file that cannot be written; that file is not
// left behind half written.
SaveResult SaveFrameFiles(OutputFiles& files, const std::string& base, const FrameRecord& record,
                          const std::string& png, double sampleRateHz);

}  // namespace velmora
