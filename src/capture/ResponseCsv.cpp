#include "capture/ResponseCsv.h"

#include "capture/CaptureCsv.h"
#include "capture/CsvText.h"

namespace velmora {
namespace {

constexpr int kDigits = 6;

std::string Number(double value) {
    std::string s;
    AppendNumber(s, value, kDigits);
    return s;
}

void AppendCell(std::string& out, const std::optional<double>& value) {
    out.push_back(',');
    AppendNumber(out, value, kDigits);
}

}  // namespace

std::string ResponseCsvHeader(const ResponseRun& run) {
    std::string out;
    AppendCommentLine(out, "velmora", VelmoraVersion());
    AppendCommentLine(out, "date", IsoDateText(run.time));
    AppendCommentLine(out, "port", PrintableText(run.port.c_str()));
    AppendCommentLine(out, "sample_rate_Hz", Number(run.sampleRateHz));
    AppendCommentLine(out, "amplitude_V", Number(run.amplitudeVolts));
    AppendCommentLine(
        out, "probes",
        std::string("ch1=") + (run.x10[0] ? "x10" : "x1") + " ch2=" + (run.x10[1] ? "x10" : "x1"));
    AppendCommentLine(out, "wiring", "generator A to the input and CH1, CH2 to the output");
    return out +
           "Frequency (Hz),CH1 (V),CH2 (V),Gain (dB),Phase (deg),CH1 Range (V),CH2 Range (V)\n";
}

void AppendResponseRow(std::string& out, const ResponsePoint& point) {
    AppendNumber(out, point.frequency, kDigits);
    AppendCell(out, point.volts[0]);
    AppendCell(out, point.volts[1]);
    AppendCell(out, point.gainDb);
    AppendCell(out, point.phaseDegrees);
    AppendCell(out, point.rangeVolts[0]);
    AppendCell(out, point.rangeVolts[1]);
    out.push_back('\n');
}

}  // namespace velmora
