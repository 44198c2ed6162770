#include "gui/win32/GdiCanvas.h"

#include <stdexcept>

#include "gui/win32/Latin1Text.h"
#include "gui/win32/PixelRegion.h"

namespace velmora {
namespace {

constexpr int kMaxSide = 16384;  // a DIB side beyond any screen
constexpr std::size_t kTextCapacity = 256;

}  // namespace

GdiCanvas::GdiCanvas(int width, int height, HFONT font, COLORREF background)
    : dc_(CreateCompatibleDC(nullptr)), background_(background) {
    if (dc_ == nullptr) throw std::runtime_error("cannot create the window's picture");
    void* bits = nullptr;
    bitmap_ = NewBitmap(width, height, bits);
    bits_ = static_cast<const uint32_t*>(bits);
    if (bitmap_ == nullptr) throw std::runtime_error("cannot create the window's picture");
    width_ = width;
    height_ = height;
    originalBitmap_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    HBRUSH fill = CreateSolidBrush(background_);
    FillRect(dc_, &all, fill);
    DeleteObject(fill);
    pen_ = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    originalPen_ = SelectObject(dc_, pen_);
    originalBrush_ = SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    originalFont_ = SelectObject(dc_, font);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, RGB(255, 255, 255));
    ::SetTextColor(dc_, RGB(0, 0, 0));
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TakeFontMeasures();
}

GdiCanvas::~GdiCanvas() {
    SelectObject(dc_, originalFont_);
    SelectObject(dc_, originalBrush_);
    SelectObject(dc_, originalPen_);
    SelectObject(dc_, originalBitmap_);
    DeleteObject(pen_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

HBITMAP GdiCanvas::NewBitmap(int width, int height, void*& bits) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    return CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

bool GdiCanvas::Resize(int width, int height) {
    if (width == width_ && height == height_) return true;
    void* bits = nullptr;
    HBITMAP next = NewBitmap(width, height, bits);
    if (next == nullptr) return false;
    HDC copy = CreateCompatibleDC(dc_);
    HGDIOBJ before = SelectObject(copy, next);
    RECT all{0, 0, width, height};
    HBRUSH fill = CreateSolidBrush(background_);
    FillRect(copy, &all, fill);
    DeleteObject(fill);
    BitBlt(copy, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    SelectObject(copy, before);
    DeleteDC(copy);
    SelectObject(dc_, next);
    DeleteObject(bitmap_);
    bitmap_ = next;
    bits_ = static_cast<const uint32_t*>(bits);
    width_ = width;
    height_ = height;
    ChangedWhole();
    return true;
}

void GdiCanvas::SetFont(HFONT font) {
    SelectObject(dc_, font);
    TakeFontMeasures();
    record_.Distrust();
}

void GdiCanvas::TakeFontMeasures() {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    reach_.textHeight = static_cast<int>(metrics.tmHeight);
    reach_.widestCharacter = static_cast<int>(metrics.tmMaxCharWidth);
}

// The bitmap's pen takes the colour of each line as it is drawn.
void GdiCanvas::SetPenColor(Rgb color) { penColour_ = RGB(color.r, color.g, color.b); }

void GdiCanvas::UsePen(COLORREF colour) {
    if (colour == selectedPen_) return;
    HPEN next = CreatePen(PS_SOLID, 1, colour);
    if (next == nullptr) return;
    SelectObject(dc_, next);
    DeleteObject(pen_);
    pen_ = next;
    selectedPen_ = colour;
}

void GdiCanvas::MoveTo(int x, int y) { current_ = POINT{x, y}; }

void GdiCanvas::LineTo(int x, int y) {
    Draw(DrawOp{DrawOp::Kind::Line, penColour_, current_.x, current_.y, x, y});
    current_ = POINT{x, y};
}

// GDI would swap reversed corners and draw; the picture's other canvases
// draw nothing for them, and neither does this one.
void GdiCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    Draw(DrawOp{DrawOp::Kind::Box, penColour_, x1, y1, x2, y2});
}

void GdiCanvas::TextOut(int x, int y, const char* text) {
    Draw(DrawOp{DrawOp::Kind::Text, textColour_, x, y},
         text == nullptr ? std::string_view() : std::string_view(text));
}

void GdiCanvas::SetTextColor(Rgb color) { textColour_ = RGB(color.r, color.g, color.b); }

void GdiCanvas::Begin() { open_ = true; }

void GdiCanvas::End() {
    if (!open_) return;
    Flush();
    open_ = false;
}

std::vector<PixelRect> GdiCanvas::TakeChangedArea() {
    std::vector<PixelRect> area;
    if (changedWhole_) {
        area.push_back(PixelRect::Picture(width_, height_));
    } else {
        area.swap(changed_);
    }
    changed_.clear();
    changedWhole_ = false;
    return area;
}

void GdiCanvas::Draw(const DrawOp& op, std::string_view text) {
    if (open_) {
        if (record_.Add(op, text)) return;
        Flush();  // full: what is kept is drawn now, and the record starts again
        if (record_.Add(op, text)) return;
    }
    // Outside a redraw, or larger than the whole record: drawn at once, and
    // the record no longer tells what the picture shows.
    Render(op, text);
    ChangedWhole();
}

void GdiCanvas::Flush() {
    reach_.width = width_;
    reach_.height = height_;
    const FrameOps& ops = record_.Pending();
    switch (record_.Settle(reach_)) {
        case RedrawRecord::Change::OnTop: {
            Replay(ops);
            PixelRect reached;
            for (std::size_t i = 0; i < ops.Size(); ++i) reached = reached.United(reach_(ops[i]));
            if (!reached.Empty()) changed_.push_back(reached);
            break;
        }
        case RedrawRecord::Change::Whole:
            Replay(ops);
            changedWhole_ = true;
            break;
        case RedrawRecord::Change::Tiles:
            RenderTiles(ops);
            break;
        case RedrawRecord::Change::None:
            break;
    }
    record_.Commit();
}

// Clipped to the dirty tiles by GDI, which leaves inside them the pixels a
// whole redraw leaves; what reaches none of them would be clipped away whole.
void GdiCanvas::RenderTiles(const FrameOps& ops) {
    const DirtyTiles& tiles = record_.Tiles();
    const std::vector<PixelRect> runs = tiles.Runs();
    const HRGN clip = NewPixelRegion(runs);
    if (clip == nullptr) {  // no region could be made: all of it again
        Replay(ops);
        changedWhole_ = true;
        return;
    }
    SelectClipRgn(dc_, clip);
    for (std::size_t i = 0; i < ops.Size(); ++i) {
        if (tiles.Touches(reach_(ops[i]))) Render(ops[i], ops.Text(ops[i]));
    }
    SelectClipRgn(dc_, nullptr);
    DeleteObject(clip);
    changed_.insert(changed_.end(), runs.begin(), runs.end());
}

void GdiCanvas::Replay(const FrameOps& ops) {
    for (std::size_t i = 0; i < ops.Size(); ++i) Render(ops[i], ops.Text(ops[i]));
}

// A line that starts where the one before ended (the segments of a trace)
// needs no move.
void GdiCanvas::Render(const DrawOp& op, std::string_view text) {
    switch (op.kind) {
        case DrawOp::Kind::Line:
            UsePen(op.colour);
            if (!penAt_ || op.x0 != penEnd_.x || op.y0 != penEnd_.y) {
                MoveToEx(dc_, op.x0, op.y0, nullptr);
            }
            ::LineTo(dc_, op.x1, op.y1);
            penEnd_ = POINT{op.x1, op.y1};
            penAt_ = true;
            return;
        case DrawOp::Kind::Box:
            UsePen(op.colour);
            ::Rectangle(dc_, op.x0, op.y0, op.x1, op.y1);
            return;
        case DrawOp::Kind::Text: {
            wchar_t wide[kTextCapacity];
            const std::size_t n = WidenLatin1(text, wide, kTextCapacity);
            ::SetTextColor(dc_, op.colour);
            TextOutW(dc_, op.x0, op.y0, wide, static_cast<int>(n));
            return;
        }
    }
}

void GdiCanvas::ChangedWhole() {
    changedWhole_ = true;
    record_.Distrust();
}

TextExtent GdiCanvas::MeasureText(const char* text) {
    wchar_t wide[kTextCapacity];
    const std::size_t n = WidenLatin1(text, wide, kTextCapacity);
    SIZE size{};
    if (!GetTextExtentPoint32W(dc_, wide, static_cast<int>(n), &size)) return {};
    return {size.cx, size.cy};
}

std::vector<uint32_t> GdiCanvas::CopyPixels() const {
    GdiFlush();  // GDI may still hold drawing calls back
    if (bits_ == nullptr) return {};
    const std::size_t n = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    return std::vector<uint32_t>(bits_, bits_ + n);
}

}  // namespace velmora
