#include "gui/win32/Latin1Text.h"

namespace velmora {

std::wstring WidenLatin1(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
    }
    return wide;
}

std::string NarrowToLatin1(std::wstring_view text) {
    std::string narrow(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        narrow[i] = text[i] <= 0xFF ? static_cast<char>(text[i]) : '?';
    }
    return narrow;
}

std::size_t WidenLatin1(std::string_view text, wchar_t* out, std::size_t capacity) {
    if (capacity == 0) return 0;
    std::size_t n = 0;
    for (; n < text.size() && text[n] != '\0' && n + 1 < capacity; ++n) {
        out[n] = static_cast<wchar_t>(static_cast<unsigned char>(text[n]));
    }
    out[n] = L'\0';
    return n;
}

}  // namespace velmora
