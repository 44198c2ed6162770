#pragma once

namespace velmora {

// Range labels per probe (row 0 "x10", row 1 "x1") and range index, largest
// range first; the index is what the range commands send. Latin-1 text: 0xB1
// is the plus-minus sign.
inline constexpr const char* kScaleLabels[2][8] = {
    {"\xB1"
     "240V",
     "\xB1"
     "200V",
     "\xB1"
     "160V",
     "\xB1"
     "120V",
     "\xB1"
     "80 V",
     "\xB1"
     "40 V",
     "\xB1"
     "20 V",
     "\xB1"
     "10 V"},
    {"\xB1"
     "24V",
     "\xB1"
     "20 V",
     "\xB1"
     "16 V",
     "\xB1"
     "12 V",
     "\xB1"
     "8 V",
     "\xB1"
     "4 V",
     "\xB1"
     "2 V",
     "\xB1"
     "1 V"},
};

}  // namespace velmora
