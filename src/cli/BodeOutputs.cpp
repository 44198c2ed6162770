#include "cli/BodeOutputs.h"

#include "cli/BodeOptions.h"
#include "cli/BodePicture.h"

namespace velmora {

bool BodeOutputs::Open(const BodeOptions& o, OutputFiles& files,
                       const CommandOutput::StandardOutput& standardOutput, std::string& error) {
    if (csv_.Open(o.csvPath.empty() ? "-" : o.csvPath, files, standardOutput, error) &&
        png_.Open(o.pngPath, files, standardOutput, error)) {
        return true;
    }
    Finish();
    return false;
}

bool BodeOutputs::Add(const ResponseRun& run, const ResponsePoint& point, std::string& error) {
    text_ = points_.empty() ? ResponseCsvHeader(run) : std::string();
    AppendResponseRow(text_, point);
    if (!csv_.Write(text_, error)) return false;
    csv_.MarkWhole();
    points_.push_back(point);
    return true;
}

std::vector<std::string> BodeOutputs::Finish() {
    std::vector<std::string> failures;
    std::string error;
    if (png_.IsOpen() && !points_.empty()) {
        if (png_.Write(BodePlotPng(points_), error)) {
            png_.MarkWhole();
        } else {
            failures.push_back(error);
        }
    }
    const std::string held = "its " + std::to_string(points_.size()) + " points are";
    for (CommandOutput* out : {&csv_, &png_}) {
        std::string failure = out->Finish(out == &png_ ? "the plot is" : held);
        if (!failure.empty()) failures.push_back(std::move(failure));
    }
    return failures;
}

std::string BodeOutputs::Kept() const {
    if (!csv_.IsFile()) return {};
    if (points_.empty()) return "; no point measured: " + csv_.Name() + " left as before";
    return "; " + std::to_string(points_.size()) + " points kept in " + csv_.Name();
}

}  // namespace velmora
