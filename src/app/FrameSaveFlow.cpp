#include "app/FrameSaveFlow.h"

#include <stdexcept>
#include <utility>

#include "capture/FrameFiles.h"

namespace velmora {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

FrameSaveFlow::FrameSaveFlow(TForm2& form, WallClock& clock, Dispatcher run, char separator)
    : form_(form), clock_(clock), run_(std::move(run)), separator_(separator) {}

void FrameSaveFlow::Save(FrameSaveToolkit& toolkit) {
    bool ready = false;
    run_([&] { ready = form_.CanSaveFrame(); });
    if (!ready) return;
    const FrameRecord frame = form_.ShownFrame();
    toolkit.TakePicture();
    const std::string chosen =
        toolkit.AskSaveName(Proposed(folder_.empty() ? toolkit.DocumentsFolder() : folder_));
    if (chosen.empty()) return;
    const std::size_t slash = chosen.find_last_of("/\\");
    if (slash != std::string::npos) folder_ = chosen.substr(0, slash == 0 ? 1 : slash);
    std::string png, error;
    if (!toolkit.EncodePicture(png, error)) {
        run_([&] { throw std::runtime_error("Cannot save the picture: " + error); });
        return;
    }
    const std::string base = CaptureBaseName(chosen);
    run_([&] { form_.SaveFrame(frame, base, png); });
}

std::string FrameSaveFlow::Proposed(const std::string& folder) const {
    const std::string name = ProposedCaptureName(clock_.Now());
    if (folder.empty()) return name;
    return IsSeparator(folder.back()) ? folder + name : folder + separator_ + name;
}

}  // namespace velmora
