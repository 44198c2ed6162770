#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "controls/Canvas.h"
#include "gui/win32/WindowsApi.h"
#include "raster/PixelRect.h"
#include "raster/RedrawRecord.h"

namespace velmora {

// The window's picture: a Canvas on a GDI memory bitmap (a 32-bit top-down DIB
// section of the client size) that WM_PAINT copies to the screen, so covering
// and uncovering the window loses nothing. The operations are GDI's own:
// MoveToEx, LineTo (a 1-pixel solid pen; the end point is not drawn),
// Rectangle (the white stock brush, outlined with the pen, right and bottom
// edges exclusive; reversed corners draw nothing) and TextOut (black unless set otherwise, over
// the white brush, in the window's font, its top left corner at the point).
// GDI clips to the bitmap.
//
// Between Begin() and End() (one event) the operations are kept and drawn at
// End(), in order (see RedrawRecord): when a redraw's operations are those of
// the one before but for a few (a label that changed), only the tiles those
// few reach are drawn again, every operation clipped to them by GDI, and only
// those count as changed, so that the window shows only them again; a redraw
// like the one before draws nothing. Anything drawn outside such a pair, and
// a new size or font, count as a change of the whole picture. UI thread only.
class GdiCanvas final : public Canvas {
  public:
    // `background` fills area that was never drawn.
    GdiCanvas(int width, int height, HFONT font, COLORREF background);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The picture's pixels as they are now: Height() rows of Width() values,
    // top row first, each 0x00RRGGBB.
    std::vector<uint32_t> CopyPixels() const;
    // A new bitmap of the new size with the old picture at its top left; new
    // area shows the background. When no bitmap of that size can be made the
    // old one stays (and false is returned).
    bool Resize(int width, int height);
    // The labels' font from the next text on (the window's, at a new DPI);
    // the caller keeps it alive while it is selected.
    void SetFont(HFONT font);

    void Begin();
    void End();
    // The part of the picture that changed since the last call (rectangles
    // of pixels, none when nothing did); the next call starts afresh.
    std::vector<PixelRect> TakeChangedArea();

    void SetPenColor(Rgb color) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const char* text) override;
    void SetTextColor(Rgb color) override;
    // GetTextExtentPoint32A in the labels' font.
    TextExtent MeasureText(const char* text) override;

  private:
    HBITMAP NewBitmap(int width, int height, void*& bits);
    // Draws at once outside Begin() and End(), else keeps for End().
    void Draw(const DrawOp& op, std::string_view text = {});
    void Flush();
    void Replay(const FrameOps& ops);
    void RenderTiles(const FrameOps& ops);
    void Render(const DrawOp& op, std::string_view text);
    void UsePen(COLORREF colour);
    void ChangedWhole();
    void TakeFontMeasures();

    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    const uint32_t* bits_ = nullptr;  // the bitmap's memory
    HGDIOBJ originalBitmap_ = nullptr;
    HPEN pen_ = nullptr;
    COLORREF selectedPen_ = RGB(0, 0, 0);  // the colour of pen_
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    COLORREF background_;
    int width_ = 0;
    int height_ = 0;
    COLORREF penColour_ = RGB(0, 0, 0);
    COLORREF textColour_ = RGB(0, 0, 0);
    POINT current_{};
    POINT penEnd_{};      // the bitmap's current position: where the last line ended
    bool penAt_ = false;  // ... once a line was drawn
    bool open_ = false;   // between Begin() and End()
    RedrawRecord record_;
    OpReach reach_;
    std::vector<PixelRect> changed_;
    bool changedWhole_ = true;  // nothing is on the screen yet
};

}  // namespace velmora
