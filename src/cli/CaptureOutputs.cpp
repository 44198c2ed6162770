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
    if (Open(samples_, none ? "-" : o.samplesPath, files, standardOutput, error) &&
        Open(spectrum_, o.spectrumPath, files, standardOutput, error) &&
        Open(measurements_, o.measurePath, files, standardOutput, error)) {
        return true;
    }
    Finish();
    return false;
}

bool CaptureOutputs::Open(Output& out, const std::string& path, OutputFiles& files,
                          const std::function<std::unique_ptr<OutputFile>()>& standardOutput,
                          std::string& error) {
    if (path.empty()) return true;
    out.path = path == "-" ? "standard output" : path;
    std::string reason;
    out.file = path == "-" ? standardOutput() : files.Create(path, reason);
    if (!out.file) error = "cannot write " + out.path + ": " + reason;
    out.isFile = out.file && out.file->GetKind() != OutputFile::Kind::Stream;
    return out.file != nullptr;
}

bool CaptureOutputs::Write(Output& out, const std::string& text, std::string& error) {
    if (!out.file) return true;
    if (!out.file->Write(text.data(), text.size())) {
        error = "cannot write " + out.path + ": " + out.file->Error();
        return false;
    }
    out.written += text.size();
    return true;
}

bool CaptureOutputs::Add(const FrameRecord& record, int number, double seconds,
                         std::string& error) {
    const int frameColumn = manyFrames_ ? number : 0;
    if (samples_.file) {
        text_ = number == 1 ? SamplesCsvHeader(record, rate_, manyFrames_) : std::string();
        AppendSampleRows(text_, record, rate_, frameColumn);
        if (!Write(samples_, text_, error)) return false;
    }
    if (spectrum_.file) {
        text_ = number == 1 ? SpectrumCsvHeader(record, rate_, manyFrames_) : std::string();
        AppendSpectrumRows(text_, record, rate_, frameColumn);
        if (!Write(spectrum_, text_, error)) return false;
    }
    if (measurements_.file) {
        text_ = number == 1 ? MeasurementsCsvHeader(record, rate_) : std::string();
        AppendMeasurementsRow(text_, number, seconds, MeasureFrame(record, rate_));
        if (!Write(measurements_, text_, error)) return false;
    }
    for (Output* out : {&samples_, &spectrum_, &measurements_}) out->whole = out->written;
    ++whole_;
    return true;
}

std::vector<std::string> CaptureOutputs::Finish() {
    std::vector<std::string> failures;
    for (Output* out : {&samples_, &spectrum_, &measurements_}) {
        std::string failure = Finish(*out);
        if (!failure.empty()) failures.push_back(std::move(failure));
    }
    return failures;
}

std::string CaptureOutputs::Finish(Output& out) {
    if (!out.file) return {};
    const std::unique_ptr<OutputFile> file = std::move(out.file);
    if (file->Finish(out.whole)) return {};
    const std::string& standIn = file->StandIn();
    if (standIn.empty()) return "cannot write " + out.path + ": " + file->Error();
    const std::string frames =
        whole_ == 1 ? "complete frame is" : std::to_string(whole_) + " complete frames are";
    return "cannot replace " + out.path + ": " + file->Error() + "; its " + frames + " in " +
           standIn;
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
    for (const Output* out : {&samples_, &spectrum_, &measurements_}) {
        if (out->isFile) names.push_back(&out->path);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + *names[i];
    }
    return text;
}

}  // namespace velmora
