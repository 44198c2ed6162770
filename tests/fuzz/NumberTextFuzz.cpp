// The generator's number parser against any text: it accepts exactly the
// plain decimal numbers (an independent grammar check decides which), gives
// for them what strtod gives, saturated as documented, and the command that a
// generator click sends carries that value rounded and clamped; any other
// text gives the one error message and sends nothing.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "PlainDecimal.h"
#include "generator/InvalidFloatText.h"
#include "generator/ParseFloatText.h"
#include "generator/SendGeneratorCommand.h"
#include "support/FormFixture.h"

namespace velmora {
namespace {

using fuzz::Require;

// strtod's value, with the two documented departures: a finite text beyond
// the double range saturates at the largest double, and zero has no sign.
double Expected(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    Require(end == text.c_str() + text.size(), "strtod takes the whole plain decimal text");
    if (std::isinf(value)) return std::copysign(DBL_MAX, value);
    return value == 0.0 ? 0.0 : value;
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The box's value as the command carries it: rounded to single precision,
// then clamped into [low, high]. Values far outside never meet the float
// conversion, whose result would be undefined.
double Clamped(double value, float low, float high) {
    if (value >= 2.0 * static_cast<double>(high)) return high;
    if (value <= 0.0) return low;
    const float single = static_cast<float>(value);
    return single < low ? low : single > high ? high : single;
}

std::string Command(double frequency, double amplitude) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%%G1/%f,%f", frequency, amplitude);
    return buffer;
}

// Clicks "Enable B" with the texts given and returns what was logged, or the
// error shown.
std::string Click(test::FormFixture& fx, const std::string& frequency,
                  const std::string& amplitude) {
    TForm2& form = fx.Form();
    form.Display.Clear();
    fx.errors.messages.clear();
    form.Freq2.SetText(frequency);
    form.Ampl2.SetText(amplitude);
    form.EnableB.SetChecked(true);
    form.Dispatch([&] { form.EnableBClick(); });
    const auto& lines = form.Display.Lines();
    if (!fx.errors.messages.empty()) {
        Require(lines.empty() && fx.errors.messages.size() == 1, "an error logs nothing");
        return fx.errors.messages.front();
    }
    Require(lines.size() == 1, "a click logs its one command");
    return lines.front();
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace velmora;
    static test::FormFixture fx;
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The message is shown as a C string: a zero byte (which no one can type) ends it.
    const std::string error = ("'" + text + "' is not a valid floating point value").c_str();
    const bool plain = fuzz::IsPlainDecimal(text);
    try {
        const double value = ParseFloatText(text);
        Require(plain, "only plain decimal numbers are accepted");
        Require(SameDouble(value, Expected(text)), "the value is strtod's");
    } catch (const InvalidFloatText& e) {
        Require(!plain, "every plain decimal number is accepted");
        Require(std::string(e.what()) == error, "the error names the text");
    }
    if (!plain) {
        Require(Click(fx, "1000", text) == error, "a bad amplitude shows the error");
        Require(Click(fx, text, "1") == error, "a bad frequency shows the error");
        return 0;
    }
    const double value = Expected(text);
    Require(Click(fx, "1000", text) == Command(1000.0, Clamped(value, 0.0f, kMaxAmplitude)),
            "the amplitude is sent rounded and clamped");
    Require(Click(fx, text, "1") == Command(Clamped(value, kMinFrequency, kMaxFrequency), 1.0),
            "the frequency is sent rounded and clamped");
    return 0;
}
