#pragma once

#include <string_view>

namespace velmora {

// Converts the text of a number box. Accepts plain decimal numbers: an
// optional sign, digits with an optional fraction (at least one digit in
// all), and an optional exponent ("20000", "1.00", "-1", ".5", "1e3",
// "1.5E-2"). The result does not depend on the locale. A finite number too
// large for a double comes back as the largest double of its sign, one too
// small as zero; zero is always +0. Anything else (empty text, blanks, "nan", "inf",
// hexadecimal, trailing characters) throws InvalidFloatText.
double ParseFloatText(std::string_view text);

// Rounds to single precision the way the instrument's fields are printed;
// magnitudes beyond the float range become the largest float of their sign,
// and a result of zero is always +0.
float RoundToSingle(double value);

}  // namespace velmora
