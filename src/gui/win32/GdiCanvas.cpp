#include "gui/win32/GdiCanvas.h"

#include <stdexcept>

#include "gui/win32/Latin1Text.h"

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
    return true;
}

void GdiCanvas::SetFont(HFONT font) { SelectObject(dc_, font); }

void GdiCanvas::SetPenColor(Rgb color) {
    HPEN next = CreatePen(PS_SOLID, 1, RGB(color.r, color.g, color.b));
    if (next == nullptr) return;
    SelectObject(dc_, next);
    DeleteObject(pen_);
    pen_ = next;
}

void GdiCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::LineTo(int x, int y) { ::LineTo(dc_, x, y); }

// GDI would swap reversed corners and draw; the picture's other canvases
// draw nothing for them, and neither does this one.
void GdiCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    ::Rectangle(dc_, x1, y1, x2, y2);
}

void GdiCanvas::TextOut(int x, int y, const char* text) {
    wchar_t wide[kTextCapacity];
    const std::size_t n = WidenLatin1(text, wide, kTextCapacity);
    TextOutW(dc_, x, y, wide, static_cast<int>(n));
}

void GdiCanvas::SetTextColor(Rgb color) { ::SetTextColor(dc_, RGB(color.r, color.g, color.b)); }

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
