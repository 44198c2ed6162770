#include "capture/FrameFiles.h"

#include <cstdio>
#include <memory>

#include "capture/CaptureCsv.h"

namespace velmora {
namespace {

bool EndsWith(const std::string& text, const char* tail) {
    const std::string t(tail);
    if (text.size() < t.size()) return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = text[text.size() - t.size() + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != t[i]) return false;
    }
    return true;
}

bool Refuse(SaveResult& result, std::string error) {
    result.ok = false;
    result.error = std::move(error);
    return false;
}

// One file, whole or not at all: an existing one is replaced only once the
// new one is complete, and a failed write leaves nothing of its own behind.
bool WriteFile(OutputFiles& files, const std::string& path, const std::string& bytes,
               SaveResult& result) {
    std::string reason;
    const std::unique_ptr<OutputFile> file = files.Create(path, reason);
    if (!file) return Refuse(result, "Cannot write " + path + ": " + reason);
    if (!file->Write(bytes.data(), bytes.size())) {
        reason = file->Error();
        file->Finish(0);
        return Refuse(result, "Cannot write " + path + ": " + reason);
    }
    if (!file->Finish(bytes.size())) {
        if (file->StandIn().empty())
            return Refuse(result, "Cannot write " + path + ": " + file->Error());
        return Refuse(result, "Cannot replace " + path + ": " + file->Error() +
                                  "; the saved file is " + file->StandIn());
    }
    result.written += (result.written.empty() ? "" : ", ") + path;
    return true;
}

}  // namespace

std::string ProposedCaptureName(const LocalTime& t) {
    char name[40];
    std::snprintf(name, sizeof name, "velmora-%04d%02d%02d-%02d%02d%02d", t.year % 10000,
                  t.month % 100, t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
    return name;
}

std::string CaptureBaseName(const std::string& path) {
    for (const char* extension : {".csv", ".png"}) {
        if (EndsWith(path, extension)) return path.substr(0, path.size() - 4);
    }
    return path;
}

SaveResult SaveFrameFiles(OutputFiles& files, const std::string& base, const FrameRecord& record,
                          const std::string& png, double sampleRateHz) {
    SaveResult result;
    std::string samples = SamplesCsvHeader(record, sampleRateHz, false);
    AppendSampleRows(samples, record, sampleRateHz, 0);
    if (!WriteFile(files, base + ".csv", samples, result)) return result;
    if (!WriteFile(files, base + ".png", png, result)) return result;
    if (record.inputs.fft1 || record.inputs.fft2) {
        std::string spectrum = SpectrumCsvHeader(record, sampleRateHz, false);
        AppendSpectrumRows(spectrum, record, sampleRateHz, 0);
        WriteFile(files, base + "-spectrum.csv", spectrum, result);
    }
    return result;
}

}  // namespace velmora
