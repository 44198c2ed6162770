#pragma once

#include <string>

namespace velmora {

// Shows an error to the user: the standard error box of the window, or a
// record in tests. Called on the UI thread; returns when the user has seen it.
class ErrorReporter {
  public:
    virtual ~ErrorReporter() = default;
    virtual void ShowError(const std::string& message) = 0;
};

}  // namespace velmora
