#include "cli/CaptureOutputs.h"

#include "capture/CaptureCsv.h"
#include "capture/Measurements.h"
#include "cli/CaptureOptions.h"
#include "link/SampleRate.h"

namespace velmora {

bool CaptureOutputs::Open(const CaptureOptions& o, OutputFiles& files,
                          const std::function<std::unique_ptr<OutputFile>()>& standardOutput,
                          std::string& error) {
    rate_ = o.sampleRate > 0 ? o.sampleRate : kFrameSampleRateHz;
    manyFrames_ = o.ManyFrames();
    const bool none = o.samplesPath.empty() && o.spectrumPath.empty() && o.measurePath.empty();
    if (samples_.Open(none ? "-" : o.samplesPath, files, standardOutput, error) &&
        spectrum_.Open(o.spectrumPath, files, standardOutput, error) &&
        measurements_.Open(o.measurePath, files, standardOutput, error)) {
        return true;
    }
    Finish();
    return false;
}

bool CaptureOutputs::Add(const FrameRecord& record, int number, double seconds,
                         std::string& error) {
    const int frameColumn = manyFrames_ ? number : 0;
    if (samples_.IsOpen()) {
        text_ = number == 1 ? SamplesCsvHeader(record, rate_, manyFrames_) : std::string();
        AppendSampleRows(text_, record, rate_, frameColumn);
        if (!samples_.Write(text_, error)) return false;
    }
    if (spectrum_.IsOpen()) {
        text_ = number == 1 ? SpectrumCsvHeader(record, rate_, manyFrames_) : std::string();
        AppendSpectrumRows(text_, record, rate_, frameColumn);
        if (!spectrum_.Write(text_, error)) return false;
    }
    if (measurements_.IsOpen()) {
        text_ = number == 1 ? MeasurementsCsvHeader(record, rate_) : std::string();
        AppendMeasurementsRow(text_, number, seconds, MeasureFrame(record, rate_));
        if (!measurements_.Write(text_, error)) return false;
    }
    for (CommandOutput* out : {&samples_, &spectrum_, &measurements_}) out->MarkWhole();
    ++whole_;
    return true;
}

std::vector<std::string> CaptureOutputs::Finish() {
    const std::string held = whole_ == 1 ? "its complete frame is"
                                         : "its " + std::to_string(whole_) + " complete frames are";
    std::vector<std::string> failures;
    for (CommandOutput* out : {&samples_, &spectrum_, &measurements_}) {
        std::string failure = out->Finish(held);
        if (!failure.empty()) failures.push_back(std::move(failure));
    }
    return failures;
}

std::string CaptureOutputs::Kept() const {
    const std::string names = FileNames();
    if (names.empty()) return {};
    if (whole_ == 0) return "; no complete frame: " + names + " left as before";
    const std::string frames =
        whole_ == 1 ? "1 complete frame" : std::to_string(whole_) + " complete frames";
    return "; " + frames + " kept in " + names;
}

// The outputs that are files (not standard output, a pipe or a device).
std::string CaptureOutputs::FileNames() const {
    std::vector<const std::string*> names;
    for (const CommandOutput* out : {&samples_, &spectrum_, &measurements_}) {
        if (out->IsFile()) names.push_back(&out->Name());
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + *names[i];
    }
    return text;
}

}  // namespace velmora
