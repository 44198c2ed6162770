#pragma once

namespace velmora {

// One command of the computer, as the parser understood it. Only the fields of
// its kind are meaningful; the others keep their defaults.
struct Command {
    enum class Kind { kDataRequest, kSync, kRange1, kRange2, kGenerator };

    Kind kind = Kind::kDataRequest;
    // Sync settings ("%S"): source 0/1, polarity 0 rise / 1 fall, position, level.
    int source = 0;
    int polarity = 0;
    int position = 0;
    int level = 0;
    // Range ("%X", "%Y"): index 0..7.
    int range = 0;
    // Generator ("%G0", "%G1"): channel 0 = A, 1 = B; waveform character as sent.
    int channel = 0;
    char waveform = '0';
    double frequency = 0.0;
    double amplitude = 0.0;
};

// Receives what a CommandParser recognises. Called on the parser's thread,
// synchronously from Feed() or Idle().
class CommandSink {
  public:
    virtual ~CommandSink() = default;
    virtual void OnCommand(const Command& command) = 0;
    // A fragment that is not a valid command was skipped.
    virtual void OnRejected() = 0;
};

}  // namespace velmora
