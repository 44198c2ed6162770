#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace velmora {

// A multi-line text box used as an append-only log: lines go in, nothing
// reads them back but the person looking at it. Every command and every
// position of a dragged sync bar adds a line, so a window left running would
// grow without end: the log keeps the newest kMaxLines lines and forgets the
// oldest (a quarter of them at a time, so that appending stays cheap).
class Memo {
  public:
    static constexpr std::size_t kMaxLines = 10000;

    std::function<void(const std::string&)> onAppend;  // binding mirror
    std::function<void()> onCleared;
    std::function<void()> onVisibility;

    void Clear();
    void Append(std::string line);
    const std::vector<std::string>& Lines() const { return lines_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

  private:
    std::vector<std::string> lines_;
    bool visible_ = false;
};

}  // namespace velmora
