#pragma once
// Raster operations from a pixel store onto a canvas: scaled copies with a stretch mode and
// a ternary raster operation, masked copies, colour-to-monochrome masks and store-to-store
// pixel conversion.
//
// Source coordinates are picture coordinates (row 0 at the top), whatever the store's row
// order.  A 1-bit source is drawn through its colour table.  Destination coordinates are
// canvas coordinates (moved by the canvas's Origin and clipped to its ClipRect).

#include <cstdint>
#include <memory>

#include "platform/gdi/Canvas.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/Dib.h"

namespace gdi {

// A colour as a canvas surface pixel (QImage::Format_RGB32: 0xFFRRGGBB).
constexpr uint32_t SurfacePixel(COLORREF c) {
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}
constexpr COLORREF SurfaceColor(uint32_t pixel) {
  return RGB(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel));
}

// The result of a ternary raster operation on one pixel's pattern, source and destination
// bits (only the operation's index byte, bits 16..23, counts).
uint32_t ApplyRop3(uint32_t rop, uint32_t pattern, uint32_t source, uint32_t dest);

// Copies the source rectangle (sx, sy, sw, sh) onto the destination rectangle (x, y, w, h),
// scaled.  Negative extents mirror.  Shrinking follows the canvas's StretchBltMode:
// COLORONCOLOR drops rows and columns; BLACKONWHITE and WHITEONBLACK combine the dropped
// pixels by AND and OR; HALFTONE averages them.  Source pixels outside the store are not
// drawn.  The pattern of the pattern operations is the canvas's BrushColor.
void StretchBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, const Dib& src, int32_t sx, int32_t sy,
                int32_t sw, int32_t sh, uint32_t rop);

// StretchBlt at the source's own size.
void BitBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, const Dib& src, int32_t sx, int32_t sy,
            uint32_t rop);

// A pattern-and-destination operation over a rectangle, with the canvas's BrushColor.
void PatBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop);

// Copies (x, y, w, h) from the source at (sx, sy) unscaled, choosing per pixel by the 1-bit
// mask at (mx, my): foreRop where the mask bit is 1, backRop where it is 0.  Pixels outside
// the mask use backRop.
void MaskBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, const Dib& src, int32_t sx, int32_t sy,
             const Dib& mask, int32_t mx, int32_t my, uint32_t foreRop, uint32_t backRop);

// A 1-bit store of the source's size (bottom-up, table black then white) whose bits are 1
// where the source pixel has the background colour (its red, green and blue; the high byte
// is ignored) and 0 elsewhere.  A 1-bit source is copied monochrome to monochrome: each of
// its table colours becomes the nearer of black (0) and white (1).  None when the store
// would exceed the ceiling.
std::unique_ptr<Dib> ColorToMonochrome(const Dib& src, COLORREF background);

// Copies the overlap of two stores (their top-left corners together) from src into dst,
// converting each pixel to dst's format (nearest table entry at 8 bits or fewer).
void CopyPixels(Dib& dst, const Dib& src);

// Fills the top-left w x h pixels of a store with one colour, in the store's format.
void FillPixels(Dib& dst, int32_t w, int32_t h, COLORREF color);

}  // namespace gdi
