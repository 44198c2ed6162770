#include "instrument/WaveShape.h"

#include <cmath>
#include <numbers>

namespace velmora {
namespace {

double Square(double cycle, double duty) { return cycle < duty ? 1.0 : -1.0; }

double Triangle(double cycle) { return cycle < 0.5 ? 4.0 * cycle - 1.0 : 3.0 - 4.0 * cycle; }

}  // namespace

double WaveShape(char waveform, double phase) {
    const double cycle = phase - std::floor(phase);
    const double angle = 2.0 * std::numbers::pi * cycle;
    switch (waveform) {
        case '1':
            return std::sin(angle);
        case '2':
            return std::cos(angle);
        case '3':
            return 2.0 * cycle - 1.0;
        case '4':
            return 1.0 - 2.0 * cycle;
        case '5':
            return Triangle(cycle);
        case '6':
            return Square(cycle, 0.5);
        case '7':
            return Square(cycle, 0.1);
        case '8':
            return Square(cycle, 0.9);
        default:
            return 0.0;
    }
}

bool WaveIsActive(char waveform) { return waveform >= '1' && waveform <= '8'; }

}  // namespace velmora
