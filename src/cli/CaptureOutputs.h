#pragma once

#include <functional>
#include <memory>
#include <string>

#include "capture/FrameRecord.h"
#include "system/OutputFiles.h"

namespace velmora {

struct CaptureOptions;

// The files a capture writes as its frames arrive: samples, spectrum and
// measurements, each optional, each written and handed to the system frame
// by frame, so an interruption keeps every complete frame.
class CaptureOutputs {
  public:
    // Opens every output the options name (samples on standard output when
    // none is named). False with "cannot write PATH: REASON" in `error`.
    bool Open(const CaptureOptions& options, OutputFiles& files,
              const std::function<std::unique_ptr<OutputFile>()>& standardOutput,
              std::string& error);
    // Writes frame `number` (1-based), which arrived `seconds` after the capture
    // started.
    bool Add(const FrameRecord& record, int number, double seconds, std::string& error);
    bool Close(std::string& error);

  private:
    struct Output {
        std::unique_ptr<OutputFile> file;
        std::string path;
    };
    bool Open(Output& out, const std::string& path, OutputFiles& files,
              const std::function<std::unique_ptr<OutputFile>()>& standardOutput,
              std::string& error);
    bool Write(Output& out, const std::string& text, std::string& error);

    Output samples_, spectrum_, measurements_;
    double rate_ = 0;
    bool manyFrames_ = false;
    std::string text_;  // reused for every frame
};

}  // namespace velmora
