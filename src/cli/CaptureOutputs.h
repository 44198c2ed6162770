#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/FrameRecord.h"
#include "cli/CommandOutput.h"
#include "system/OutputFiles.h"

namespace velmora {

struct CaptureOptions;

// The files a capture writes as its frames arrive: samples, spectrum and
// measurements, each optional. Each frame goes to the system as it arrives
// (a new file can be followed while it grows); at the end every file is cut
// back to the last frame that all of them hold complete, an existing file is
// replaced only then, and a run without one complete frame leaves every file
// as it was.
class CaptureOutputs {
  public:
    // Creates every output the options name (samples on standard output when
    // none is named) without changing a byte of an existing file. False with
    // "cannot write PATH: REASON" in `error`; what was created goes again.
    bool Open(const CaptureOptions& options, OutputFiles& files,
              const std::function<std::unique_ptr<OutputFile>()>& standardOutput,
              std::string& error);
    // Writes frame `number` (1-based), which arrived `seconds` after the capture
    // started.
    bool Add(const FrameRecord& record, int number, double seconds, std::string& error);
    // Ends every output at the last frame all of them hold; one line for each
    // that could not be put in place (nothing when all were).
    std::vector<std::string> Finish();
    // After a failed write: what the files keep, as the end of its message
    // ("; 5 complete frames kept in s.csv and m.csv").
    std::string Kept() const;

  private:
    std::string FileNames() const;

    CommandOutput samples_, spectrum_, measurements_;
    double rate_ = 0;
    bool manyFrames_ = false;
    int whole_ = 0;     // frames every output holds complete
    std::string text_;  // reused for every frame
};

}  // namespace velmora
