#include "cli/CaptureOutputs.h"

#include "capture/CaptureCsv.h"
#include "capture/Measurements.h"
#include "link/SampleRate.h"
#include "cli/CaptureOptions.h"

namespace velmora {

bool CaptureOutputs::Open(const CaptureOptions& o, OutputFiles& files,
                          const std::function<std::unique_ptr<OutputFile>()>& standardOutput,
                          std::string& error) {
    rate_ = o.sampleRate > 0 ? o.sampleRate : kFrameSampleRateHz;
    manyFrames_ = o.ManyFrames();
    const bool none = o.samplesPath.empty() && o.spectrumPath.empty() && o.measurePath.empty();
    return Open(samples_, none ? "-" : o.samplesPath, files, standardOutput, error) &&
           Open(spectrum_, o.spectrumPath, files, standardOutput, error) &&
           Open(measurements_, o.measurePath, files, standardOutput, error);
}

bool CaptureOutputs::Open(Output& out, const std::string& path, OutputFiles& files,
                          const std::function<std::unique_ptr<OutputFile>()>& standardOutput,
                          std::string& error) {
    if (path.empty()) return true;
    out.path = path == "-" ? "standard output" : path;
    std::string reason;
    out.file = path == "-" ? standardOutput() : files.Create(path, reason);
    if (!out.file) error = "cannot write " + out.path + ": " + reason;
    return out.file != nullptr;
}

bool CaptureOutputs::Write(Output& out, const std::string& text, std::string& error) {
    if (!out.file || out.file->Write(text.data(), text.size())) return true;
    error = "cannot write " + out.path + ": " + out.file->Error();
    return false;
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
    return true;
}

bool CaptureOutputs::Close(std::string& error) {
    bool ok = true;
    for (Output* out : {&samples_, &spectrum_, &measurements_}) {
        if (out->file && !out->file->Close() && ok) {
            error = "cannot write " + out->path + ": " + out->file->Error();
            ok = false;
        }
    }
    return ok;
}

}  // namespace velmora
