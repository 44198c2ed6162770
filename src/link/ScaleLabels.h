#pragma once

namespace velmora {

// Range labels per probe (row 0 "x10", row 1 "x1") and range index, largest
// range first; the index is what the range commands send. Latin-1 text: the
// octal escape \261 (0xB1) is the plus-minus sign, and an octal escape takes
// at most three digits, so the digits after it stay digits.
inline constexpr const char* kScaleLabels[2][8] = {
    {"\261240V", "\261200V", "\261160V", "\261120V", "\26180 V", "\26140 V", "\26120 V",
     "\26110 V"},
    {"\26124V", "\26120 V", "\26116 V", "\26112 V", "\2618 V", "\2614 V", "\2612 V", "\2611 V"},
};

}  // namespace velmora
