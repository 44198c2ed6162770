#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// Thrown when an edit box's text is not a number. The message is the one the
// user sees in the error box, with the offending text quoted.
class InvalidFloatText : public std::runtime_error {
  public:
    explicit InvalidFloatText(const std::string& text)
        : std::runtime_error("'" + text + "' is not a valid floating point value") {}
};

}  // namespace velmora
