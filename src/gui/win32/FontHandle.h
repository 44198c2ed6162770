#pragma once

#include "gui/win32/WindowsApi.h"

namespace velmora {

// Owns one GDI font: `height` is the character height in pixels (CreateFont's
// negative height), the face a name the font mapper may substitute.
class FontHandle {
  public:
    FontHandle(int height, const wchar_t* face, DWORD pitchAndFamily)
        : font_(CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            pitchAndFamily, face)) {}
    ~FontHandle() {
        if (font_ != nullptr) DeleteObject(font_);
    }
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;

    HFONT Get() const { return font_; }

  private:
    HFONT font_;
};

}  // namespace velmora
