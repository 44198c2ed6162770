#pragma once

#include <string>

#include "capture/FrameRecord.h"
#include "capture/Measurements.h"

namespace velmora {

// The files a capture is kept in, for spreadsheets and scripts: ASCII, ','
// between fields and '.' as the decimal point in every locale, '#' comment
// lines naming what the frames were taken with, then one rectangular table
// with SI units in its column names (pandas.read_csv(path, comment='#')
// loads it as it is). A file of more than one frame gets a first column
// "Frame" (1-based); `frameNumber` 0 writes rows without it.
//
//   samples:      Time (s),CH1 (V),CH2 (V)            2048 rows a frame
//   spectrum:     Frequency (Hz),CH1 (V),CH2 (V)      1024 rows a frame
//   measurements: Frame,Time (s),CH1 Min (V),...      one row a frame
// The comment lines describe `first`, the first frame of the file.
std::string SamplesCsvHeader(const FrameRecord& first, double sampleRateHz, bool framesColumn);
void AppendSampleRows(std::string& out, const FrameRecord& record, double sampleRateHz,
                      int frameNumber);

std::string SpectrumCsvHeader(const FrameRecord& first, double sampleRateHz, bool framesColumn);
void AppendSpectrumRows(std::string& out, const FrameRecord& record, double sampleRateHz,
                        int frameNumber);

std::string MeasurementsCsvHeader(const FrameRecord& first, double sampleRateHz);
// `seconds`: from the start of the capture to the frame's arrival.
void AppendMeasurementsRow(std::string& out, int frameNumber, double seconds,
                           const FrameMeasurements& m);

// The program's version, as the files name it.
const char* VelmoraVersion();

}  // namespace velmora
