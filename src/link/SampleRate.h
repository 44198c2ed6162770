#pragma once

namespace velmora {

// Samples per second of a frame. The time axis reads 2 ms a division over ten
// divisions for the 2048 samples of a frame, so the front end takes 102,400
// samples a second, and the virtual instrument synthesises at that rate. The
// real instrument's rate is not known for certain (the frequency labels of
// the spectrum suggest a nominal 100 kHz): every file names the rate it was
// written with, and the capture command takes another one.
inline constexpr double kFrameSampleRateHz = 102400.0;

}  // namespace velmora
