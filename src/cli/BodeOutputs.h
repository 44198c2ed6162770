#pragma once

#include <string>
#include <vector>

#include "capture/FrequencySweep.h"
#include "capture/ResponseCsv.h"
#include "cli/CommandOutput.h"

namespace velmora {

struct BodeOptions;

// The files of a frequency response measurement: the CSV (standard output
// when no file is named) one row a point as each is measured, and the Bode
// plot as a PNG at the end, of the points measured by then.
class BodeOutputs {
  public:
    // Prepares both outputs before the port is opened, without changing a
    // byte of an existing file. False with "cannot write PATH: REASON".
    bool Open(const BodeOptions& options, OutputFiles& files,
              const CommandOutput::StandardOutput& standardOutput, std::string& error);
    // The first point writes the comment lines and the column names too.
    bool Add(const ResponseRun& run, const ResponsePoint& point, std::string& error);
    // Draws the plot, then ends both outputs with every point written whole;
    // one line for each failure (nothing when all went well).
    std::vector<std::string> Finish();
    // After a failed write: what the files keep, as the end of its message.
    std::string Kept() const;

  private:
    CommandOutput csv_;
    CommandOutput png_;
    std::vector<ResponsePoint> points_;
    std::string text_;
};

}  // namespace velmora
