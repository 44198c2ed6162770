#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// The window's texts are Latin-1 bytes; Win32's wide calls take UTF-16. Every
// Latin-1 byte is the UTF-16 unit of the same value, so the conversion never
// depends on the system's code page. Characters beyond Latin-1 (typed by a
// user) become '?'.
std::wstring WidenLatin1(std::string_view text);
std::string NarrowToLatin1(std::wstring_view text);

// Widens into a fixed buffer of `capacity` units, zero-terminated, cut short
// where it does not fit; returns the count without the terminator. For the
// picture's labels, which must not allocate.
std::size_t WidenLatin1(std::string_view text, wchar_t* out, std::size_t capacity);

}  // namespace velmora
