#include "display/VoltLabel.h"

#include <cstdlib>

namespace velmora {

namespace {

int LastIfOutside(int index, int count) { return index < 0 || index >= count ? count - 1 : index; }

char Digit(int64_t value) { return static_cast<char>('0' + value % 10); }

}  // namespace

int32_t SpanFor(int probeItem, int scaleItem) {
    return kSpanTable[LastIfOutside(probeItem, 2)][LastIfOutside(scaleItem, 8)];
}

VoltLabel::VoltLabel(int32_t span, int row) {
    const int64_t divisions = 5 - static_cast<int64_t>(row < 1 ? 1 : row > 9 ? 9 : row);
    // Millivolts, always a whole number of tenths of a volt.
    const int64_t m = 100 * std::llabs(span) * std::llabs(divisions);
    text_[0] = span * divisions < 0 ? '-' : ' ';
    text_[1] = m <= 9999 || m / 100000 == 0 ? ' ' : Digit(m / 100000);
    text_[2] = m <= 9999 ? ' ' : Digit(m / 10000);
    text_[3] = Digit(m / 1000);
    text_[4] = '.';
    text_[5] = Digit(m / 100);
    text_[6] = ' ';
    text_[7] = 'V';
    text_[8] = '\0';
}

}  // namespace velmora
