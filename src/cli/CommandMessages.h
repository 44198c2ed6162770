#pragma once

#include <string>
#include <vector>

namespace velmora {

// What a command-line program says on standard error, every line under the
// program's name, and its progress line, which ends before any message.
class CommandMessages {
  public:
    CommandMessages(const char* program, const char* usageLine, bool progressOnTerminal)
        : program_(program), usageLine_(usageLine), onTerminal_(progressOnTerminal) {}

    const char* Program() const { return program_; }
    void SetQuiet(bool quiet) { quiet_ = quiet; }

    // The reason and the usage line; returns the usage error's exit status.
    int Usage(const std::string& error);
    // One line; returns the failure's exit status.
    int Failed(const std::string& error);
    // --help (the help text) or --version on standard output; returns 0.
    int Informational(bool help, const char* helpText);
    // After the outputs are finished: a write that failed (`error`, with what
    // the files kept) and each output that could not be put in place turn
    // `status` into a failure.
    int Finished(int status, const std::string& error, const std::string& kept,
                 const std::vector<std::string>& failures);

    // Overwrites the progress line (on a terminal, unless quiet).
    void Progress(const std::string& text);
    void EndProgress();

  private:
    const char* program_;
    const char* usageLine_;
    bool onTerminal_;
    bool quiet_ = false;
    bool progressShown_ = false;
};

}  // namespace velmora
