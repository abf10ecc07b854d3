#pragma once
// A drawing surface with the state the original system's device context carries: the
// target pixels (a 32-bit top-down store, laid out as QImage::Format_RGB32), the clip
// rectangle, stretch and copy modes, colours and the selected palette.

#include <cstdint>

#include "platform/gdi/Color.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Palette.h"

namespace gdi {

// Stretch modes
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// Raster operations
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t SRCERASE = 0x00440328;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t NOTSRCERASE = 0x001100A6;
constexpr uint32_t MERGECOPY = 0x00C000CA;
constexpr uint32_t MERGEPAINT = 0x00BB0226;
constexpr uint32_t PATCOPY = 0x00F00021;
constexpr uint32_t PATPAINT = 0x00FB0A09;
constexpr uint32_t PATINVERT = 0x005A0049;
constexpr uint32_t DSTINVERT = 0x00550009;
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t WHITENESS = 0x00FF0062;
constexpr uint32_t DSTCOPY = 0x00AA0029;  // keep the destination

class TCanvas {
 public:
  // The surface must be a 32-bit store; it is not owned and must outlive the canvas.
  explicit TCanvas(Dib& surface);

  Dib& Surface() { return surface_; }
  const Dib& Surface() const { return surface_; }

  // Bits per pixel times planes of the device the canvas stands for (the screen's).
  int BitsPerPixel() const { return bitsPerPixel_ ? bitsPerPixel_ : ScreenBits(); }
  void SetBitsPerPixel(int bits) { bitsPerPixel_ = bits; }

  // Device coordinates: what is drawn at (x, y) lands at (x + Origin.X, y + Origin.Y) of the
  // surface, clipped to ClipRect (in surface coordinates).
  TPoint Origin{};
  TRect ClipRect{};

  int StretchBltMode = BLACKONWHITE;
  uint32_t CopyMode = SRCCOPY;
  COLORREF BrushColor = kWhite;
  COLORREF TextColor = kBlack;
  COLORREF BkColor = kWhite;
  HPALETTE SelectedPalette;

  // Fills a rectangle (canvas coordinates) with a colour, clipped.
  void FillRect(const TRect& rect, COLORREF color);
  // The clip rectangle intersected with a rectangle given in canvas coordinates, in surface
  // coordinates.
  TRect ClipToSurface(const TRect& rect) const;

 private:
  static int ScreenBits();
  Dib& surface_;
  int bitsPerPixel_ = 0;
};

}  // namespace gdi
