#include "capture/CaptureCsv.h"

#include <cmath>
#include <cstdio>

#include "capture/CsvText.h"
#include "spectrum/Spectrum.h"

namespace velmora {
namespace {

constexpr int kVoltDigits = 6;
constexpr int kTimeDigits = 9;

std::string Number(double value) {
    std::string s;
    AppendNumber(s, value, kVoltDigits);
    return s;
}

std::string ChannelLine(const ChannelSetting& c) {
    return std::string("probe=") + (c.x10 ? "x10" : "x1") + " range_V=" + Number(c.rangeVolts);
}

std::string TriggerLine(const FrameSettings& s) {
    std::string line = std::string("source=") + (s.triggerSource == 0 ? "ch1" : "ch2") +
                       " slope=" + (s.triggerSlope == 0 ? "rise" : "fall") + " level=";
    AppendInteger(line, s.triggerLevel);
    line += " position=";
    AppendInteger(line, s.triggerPosition);
    return line;
}

std::string Comments(const FrameRecord& first, double rate) {
    std::string out;
    AppendCommentLine(out, "velmora", VelmoraVersion());
    AppendCommentLine(out, "date", IsoDateText(first.time));
    AppendCommentLine(out, "port", PrintableText(first.port.data()));
    AppendCommentLine(out, "sample_rate_Hz", Number(rate));
    AppendCommentLine(out, "samples", std::to_string(kSamplePairs));
    AppendCommentLine(out, "mode", first.settings.xyMode ? "xy" : "time");
    AppendCommentLine(out, "ch1", ChannelLine(first.settings.channel[0]));
    AppendCommentLine(out, "ch2", ChannelLine(first.settings.channel[1]));
    AppendCommentLine(out, "trigger", TriggerLine(first.settings));
    AppendCommentLine(out, "xy_points", std::to_string(first.frame.PointCount()));
    return out;
}

void AppendFrameCell(std::string& out, int frameNumber) {
    if (frameNumber <= 0) return;
    AppendInteger(out, frameNumber);
    out.push_back(',');
}

void AppendVolts(std::string& out, double value) {
    out.push_back(',');
    AppendNumber(out, value, kVoltDigits);
}

}  // namespace

const char* VelmoraVersion() { return VELMORA_VERSION; }

std::string SamplesCsvHeader(const FrameRecord& first, double sampleRateHz, bool framesColumn) {
    return Comments(first, sampleRateHz) + (framesColumn ? "Frame," : "") +
           "Time (s),CH1 (V),CH2 (V)\n";
}

void AppendSampleRows(std::string& out, const FrameRecord& record, double sampleRateHz,
                      int frameNumber) {
    const double v1 = record.settings.channel[0].voltsPerCount;
    const double v2 = record.settings.channel[1].voltsPerCount;
    for (std::size_t i = 0; i < kSamplePairs; ++i) {
        AppendFrameCell(out, frameNumber);
        // Each row's time from its own index, so no error adds up down the file.
        AppendNumber(out, static_cast<double>(i) / sampleRateHz, kTimeDigits);
        AppendVolts(out, record.frame.Sample(i, 0) * v1);
        AppendVolts(out, record.frame.Sample(i, 1) * v2);
        out.push_back('\n');
    }
}

std::string SpectrumCsvHeader(const FrameRecord& first, double sampleRateHz, bool framesColumn) {
    std::string out = Comments(first, sampleRateHz);
    AppendCommentLine(out, "bin_width_Hz", Number(sampleRateHz / kSamplePairs));
    return out + (framesColumn ? "Frame," : "") + "Frequency (Hz),CH1 (V),CH2 (V)\n";
}

// The window's spectrum in sample units (a sine of amplitude A on a bin shows
// A there), through the volts factor. Bin 0 holds twice the mean, so its row
// gives half of it: the DC level.
void AppendSpectrumRows(std::string& out, const FrameRecord& record, double sampleRateHz,
                        int frameNumber) {
    SpectrumBuffer spectrum[2];
    ComputeSpectrum(record.frame, 0, spectrum[0]);
    ComputeSpectrum(record.frame, 1, spectrum[1]);
    for (int k = 0; k < kSpectrumBins; ++k) {
        AppendFrameCell(out, frameNumber);
        AppendNumber(out, k * sampleRateHz / kSamplePairs, kVoltDigits);
        for (std::size_t ch = 0; ch < 2; ++ch) {
            const double re = spectrum[ch][static_cast<std::size_t>(2 * k)];
            const double im = spectrum[ch][static_cast<std::size_t>(2 * k + 1)];
            const double magnitude = std::sqrt(re * re + im * im) * (k == 0 ? 0.5 : 1.0);
            AppendVolts(out, magnitude * record.settings.channel[ch].voltsPerCount);
        }
        out.push_back('\n');
    }
}

std::string MeasurementsCsvHeader(const FrameRecord& first, double sampleRateHz) {
    std::string out = Comments(first, sampleRateHz) + "Frame,Time (s)";
    for (const char* ch : {"CH1", "CH2"}) {
        for (const char* column :
             {"Min (V)", "Max (V)", "Vpp (V)", "Mean (V)", "RMS (V)", "AC RMS (V)",
              "Frequency (Hz)", "Period (s)", "Duty (%)", "Clipped"}) {
            out.append(",").append(ch).append(" ").append(column);
        }
    }
    return out + "\n";
}

void AppendMeasurementsRow(std::string& out, int frameNumber, double seconds,
                           const FrameMeasurements& m) {
    AppendInteger(out, frameNumber);
    out.push_back(',');
    AppendNumber(out, seconds, kTimeDigits);
    for (const ChannelMeasurements& c : m) {
        for (double v : {c.minimum, c.maximum, c.peakToPeak, c.mean, c.rms, c.acRms}) {
            AppendVolts(out, v);
        }
        out.push_back(',');
        AppendNumber(out, c.frequency, kVoltDigits);
        out.push_back(',');
        AppendNumber(out, c.period, kTimeDigits);
        out.push_back(',');
        AppendNumber(out, c.duty, kVoltDigits);
        out.append(c.clipped ? ",1" : ",0");
    }
    out.push_back('\n');
}

}  // namespace velmora
