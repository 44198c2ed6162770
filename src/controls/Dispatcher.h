#pragma once

#include <functional>

namespace velmora {

// How a window binding hands a user's action to the form: the window runs the
// event inside the form's dispatcher (errors go to the error box) and then
// repaints. A control calls it only for actions of the user, never while
// mirroring a model.
using Dispatcher = std::function<void(const std::function<void()>&)>;

}  // namespace velmora
