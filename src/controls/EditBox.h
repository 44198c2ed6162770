#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

// What the user may type into an edit box: anything, the digits 0-9 alone,
// or the digits and one decimal point (an amplitude below 1 V).
enum class EditChars { kAny, kDigits, kDecimal };

// A one-line edit box. Boxes that limit typing take text set by the program
// as given (a digits-only box may show "1.00").
class EditBox {
  public:
    EditBox(std::string text, EditChars chars) : text_(std::move(text)), chars_(chars) {}

    std::function<void()> onChanged;  // binding mirror

    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    EditChars Chars() const { return chars_; }
    // Typing is limited (digits, or digits and a point).
    bool DigitsOnly() const { return chars_ != EditChars::kAny; }
    // Whether typing, a paste or a drop may put `inserted` in place of the
    // selection, `kept` being the text around it that stays: every character
    // must be one typing lets through, and a decimal box ends with one point
    // at most. A paste that fails is refused whole, never filtered into
    // another number ("0.5 V" must not become 05).
    bool AcceptsInsert(std::string_view inserted, std::string_view kept) const;

  private:
    std::string text_;
    EditChars chars_;
};

}  // namespace velmora
