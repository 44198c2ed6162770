#include "instrument/CircuitUnderTest.h"

#include <array>

#include "instrument/DecimalText.h"

namespace velmora {
namespace {

constexpr std::size_t kMaxFields = 4;

struct KindName {
    std::string_view name;
    CircuitUnderTest::Kind kind;
    std::size_t numbers;  // required numbers after the name, gain not counted
};
constexpr std::array<KindName, 3> kKinds{{
    {"lowpass", CircuitUnderTest::Kind::kLowPass, 1},
    {"highpass", CircuitUnderTest::Kind::kHighPass, 1},
    {"bandpass", CircuitUnderTest::Kind::kBandPass, 2},
}};

bool Fail(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

bool Within(std::string_view text, double low, double high, double& value) {
    return ParseDecimal(text, value) && value >= low && value <= high;
}

}  // namespace

std::complex<double> CircuitUnderTest::Response(double hz) const {
    using namespace std::complex_literals;
    const double x = hz / frequency;  // frequency relative to the corner
    switch (kind) {
        case Kind::kLowPass:
            return gain / (1.0 + 1i * x);
        case Kind::kHighPass:
            return gain * (1i * x) / (1.0 + 1i * x);
        case Kind::kBandPass: {
            const std::complex<double> s = 1i * x / q;
            return gain * s / (1.0 - x * x + s);
        }
        case Kind::kNone:
            break;
    }
    return 0.0;
}

bool CircuitUnderTest::Parse(std::string_view text, CircuitUnderTest& circuit, std::string& error) {
    std::array<std::string_view, kMaxFields> field;
    std::size_t count = 0;
    const std::string usage =
        "needs lowpass,FC[,GAIN], highpass,FC[,GAIN] or bandpass,F0,Q[,GAIN], not '" +
        std::string(text) + "'";
    if (!SplitFields(text, field.data(), field.size(), count)) return Fail(error, usage);
    const KindName* kind = nullptr;
    for (const KindName& k : kKinds) {
        if (field[0] == k.name) kind = &k;
    }
    if (kind == nullptr || count < 1 + kind->numbers || count > 2 + kind->numbers) {
        return Fail(error, usage);
    }
    CircuitUnderTest parsed;
    parsed.kind = kind->kind;
    if (!Within(field[1], kMinFrequency, kMaxFrequency, parsed.frequency)) {
        return Fail(error,
                    "needs a frequency from 1 to 1000000 Hz, not '" + std::string(field[1]) + "'");
    }
    if (kind->numbers == 2 && !Within(field[2], kMinQ, kMaxQ, parsed.q)) {
        return Fail(error, "needs a Q from 0.1 to 1000, not '" + std::string(field[2]) + "'");
    }
    if (count == 2 + kind->numbers &&
        !Within(field[1 + kind->numbers], 0.0, kMaxGain, parsed.gain)) {
        return Fail(error, "needs a gain from 0 to 1000, not '" +
                               std::string(field[1 + kind->numbers]) + "'");
    }
    circuit = parsed;
    return true;
}

}  // namespace velmora
