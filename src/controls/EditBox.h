#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

// A one-line edit box. With `digitsOnly` the user can type nothing but 0-9;
// text set by the program is kept as given (a box may show "1.00").
class EditBox {
  public:
    EditBox(std::string text, bool digitsOnly) : text_(std::move(text)), digitsOnly_(digitsOnly) {}

    std::function<void()> onChanged;  // binding mirror

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    bool DigitsOnly() const { return digitsOnly_; }
    // Whether a typed character is let through.
    bool AcceptsTyped(char c) const { return !digitsOnly_ || (c >= '0' && c <= '9'); }
    // What typing `text` would have let through, for a paste: a digits-only
    // box takes the digits of "1 000 Hz" as 1000, the others take it whole.
    std::string TypedPart(std::string_view text) const;

  private:
    std::string text_;
    bool digitsOnly_;
};

}  // namespace velmora
