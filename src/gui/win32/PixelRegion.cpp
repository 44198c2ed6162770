#include "gui/win32/PixelRegion.h"

#include <cstring>

namespace velmora {

HRGN NewPixelRegion(const std::vector<PixelRect>& rects) {
    std::vector<RECT> parts;
    parts.reserve(rects.size());
    RECT bounds{0, 0, 0, 0};
    for (const PixelRect& r : rects) {
        if (r.Empty()) continue;
        const RECT part{r.left, r.top, r.right + 1, r.bottom + 1};
        if (parts.empty()) bounds = part;
        UnionRect(&bounds, &bounds, &part);
        parts.push_back(part);
    }
    // RGNDATA is a header followed by the rectangles.
    std::vector<unsigned char> data(sizeof(RGNDATAHEADER) + parts.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(parts.size());
    header.nRgnSize = static_cast<DWORD>(parts.size() * sizeof(RECT));
    header.rcBound = bounds;
    std::memcpy(data.data(), &header, sizeof header);
    if (!parts.empty()) {
        std::memcpy(data.data() + sizeof header, parts.data(), parts.size() * sizeof(RECT));
    }
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                           reinterpret_cast<const RGNDATA*>(data.data()));
}

void InvalidatePixels(HWND window, const std::vector<PixelRect>& rects) {
    if (rects.empty()) return;
    const HRGN region = NewPixelRegion(rects);
    InvalidateRgn(window, region, FALSE);  // a null region is the whole window
    if (region != nullptr) DeleteObject(region);
}

}  // namespace velmora
