#pragma once

namespace velmora {

// The generator's waveforms by their command character: '0' off, '1' sine,
// '2' cosine, '3' saw rising, '4' saw falling, '5' saw symmetrical (triangle),
// '6' square 50 %, '7' square 10 % duty, '8' square 90 % duty; '9' (the blank
// list entry) and every other character are off.
//
// Returns the value at `phase` (in cycles; any finite value, only its fraction
// counts), between -1 and +1. A square is +1 during its duty part, which starts
// the cycle; the saws and the triangle start the cycle at their low end (the
// falling saw at its high end).
double WaveShape(char waveform, double phase);

// True when the character selects a waveform that is not flat.
bool WaveIsActive(char waveform);

}  // namespace velmora
