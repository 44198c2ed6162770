#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "instrument/Command.h"

namespace velmora {

// Byte-stream parser of the six commands of the computer. Every command starts
// with '%'. The data request, sync and range commands end with their own
// terminator; the generator commands have none and end where the next '%'
// begins or when the caller reports that the line went idle.
//
// Promises: any byte sequence is accepted; a fragment that is not understood is
// reported once through OnRejected() and skipped, and parsing resynchronises at
// the next '%'. The parser holds at most kMaxCommandBytes bytes and allocates
// nothing. Not thread-safe: one thread feeds it.
class CommandParser {
  public:
    static constexpr std::size_t kMaxCommandBytes = 64;

    // Parses `size` bytes, reporting each complete command to `sink` in order.
    void Feed(const uint8_t* data, std::size_t size, CommandSink& sink);

    // The line has been quiet for a while: a generator command in progress is
    // complete now (or rejected when it is malformed). Other partial commands
    // keep waiting for their terminator.
    void Idle(CommandSink& sink);

    // True while a generator command waits for its end: the caller should call
    // Idle() once the line has been quiet for a short pause.
    bool AwaitingIdle() const;

  private:
    enum class Mode { kSkipping, kCommand };
    enum class Step { kNeedMore, kComplete, kInvalid };

    void FeedByte(uint8_t byte, CommandSink& sink);
    void StartCommand();
    void Skip(CommandSink& sink);
    void Finish(const Command& command, CommandSink& sink);
    Step Examine(Command& command) const;
    Step ExamineDataRequest() const;
    Step ExamineSync(Command& command) const;
    Step ExamineRange(Command& command) const;
    bool ParseGenerator(Command& command) const;

    Mode mode_ = Mode::kSkipping;
    bool junkPending_ = false;
    std::array<char, kMaxCommandBytes> buffer_{};
    std::size_t length_ = 0;
};

}  // namespace velmora
