#include "cli/CommandOutput.h"

namespace velmora {

bool CommandOutput::Open(const std::string& path, OutputFiles& files,
                         const StandardOutput& standardOutput, std::string& error) {
    if (path.empty()) return true;
    name_ = path == "-" ? "standard output" : path;
    std::string reason;
    file_ = path == "-" ? standardOutput() : files.Create(path, reason);
    if (!file_) error = "cannot write " + name_ + ": " + reason;
    isFile_ = file_ && file_->GetKind() != OutputFile::Kind::Stream;
    return file_ != nullptr;
}

bool CommandOutput::Write(const std::string& text, std::string& error) {
    if (!file_) return true;
    if (!file_->Write(text.data(), text.size())) {
        error = "cannot write " + name_ + ": " + file_->Error();
        return false;
    }
    written_ += text.size();
    return true;
}

std::string CommandOutput::Finish(const std::string& held) {
    if (!file_) return {};
    const std::unique_ptr<OutputFile> file = std::move(file_);
    if (file->Finish(whole_)) return {};
    const std::string& standIn = file->StandIn();
    if (standIn.empty()) return "cannot write " + name_ + ": " + file->Error();
    return "cannot replace " + name_ + ": " + file->Error() + "; " + held + " in " + standIn;
}

}  // namespace velmora
