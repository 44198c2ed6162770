#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora {

// A multi-line text box used as an append-only log: lines go in, nothing
// reads them back but the person looking at it.
class Memo {
  public:
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
