#pragma once

#include <string>

#include "app/FrameSaveToolkit.h"
#include "app/TForm2.h"
#include "controls/Dispatcher.h"
#include "system/WallClock.h"

namespace velmora {

// Ctrl+S in either window: whether there is a frame to save (the log says so
// when there is not, and no dialog opens); the frame and the picture as they
// are when the user asks; the dialog, proposing a stamped name in the folder
// of the last save of this run (at first the user's documents folder); then
// the PNG, and the files through the form, which logs what it wrote. Every step that
// touches the form runs through `run`, the window's dispatcher, so an error
// shows in the error box. `separator` joins a folder and a name.
class FrameSaveFlow {
  public:
    FrameSaveFlow(TForm2& form, WallClock& clock, Dispatcher run, char separator);

    void Save(FrameSaveToolkit& toolkit);

  private:
    std::string Proposed(const std::string& folder) const;

    TForm2& form_;
    WallClock& clock_;
    Dispatcher run_;
    char separator_;
    std::string folder_;  // the folder of the last save in this run
};

}  // namespace velmora
