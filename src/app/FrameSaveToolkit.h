#pragma once

#include <string>

namespace velmora {

// What a window binding lends the save flow (FrameSaveFlow): the folder a
// first save proposes, its toolkit's save dialog and PNG encoder. Paths are
// UTF-8. UI thread only.
class FrameSaveToolkit {
  public:
    virtual ~FrameSaveToolkit() = default;
    // The user's documents folder, where the first save of a run proposes
    // to go (the program's own folder, where it keeps Config.Ini, may be
    // one the user never looks in).
    virtual std::string DocumentsFolder() const = 0;
    // Asks where to save, proposing `proposed`; empty when the user cancels.
    virtual std::string AskSaveName(const std::string& proposed) = 0;
    // Keeps the picture as it is now, for EncodePicture: frames go on
    // arriving while the dialog is open.
    virtual void TakePicture() = 0;
    // The kept picture as PNG; false with the reason in `error`.
    virtual bool EncodePicture(std::string& png, std::string& error) = 0;
};

}  // namespace velmora
