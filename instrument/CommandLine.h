#pragma once

#include <string>

#include "instrument/InstrumentOptions.h"

namespace velmora {

// The command line of velmora-instrument. Parse() never exits and never
// prints: the program decides what to do with the outcome.
class CommandLine {
  public:
    enum class Outcome { kRun, kHelp, kError };

    struct Result {
        Outcome outcome = Outcome::kRun;
        InstrumentOptions options;
        std::string error;  // for kError: one line, without the program name
    };

    static Result Parse(int argc, const char* const* argv);
    static std::string HelpText();
};

}  // namespace velmora
