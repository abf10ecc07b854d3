#include "platform/gdi/Canvas.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/DeviceCaps.h"

namespace gdi {

TCanvas::TCanvas(Dib& surface) : surface_(surface) {
  ClipRect = TRect{0, 0, surface.Width(), surface.Height()};
}

int TCanvas::ScreenBits() { return ScreenBitsPerPixel(); }

TRect TCanvas::ClipToSurface(const TRect& r) const {
  TRect out{r.Left + Origin.X, r.Top + Origin.Y, r.Right + Origin.X, r.Bottom + Origin.Y};
  out.Left = std::max({out.Left, ClipRect.Left, 0});
  out.Top = std::max({out.Top, ClipRect.Top, 0});
  out.Right = std::min({out.Right, ClipRect.Right, surface_.Width()});
  out.Bottom = std::min({out.Bottom, ClipRect.Bottom, surface_.Height()});
  if (out.Right < out.Left) out.Right = out.Left;
  if (out.Bottom < out.Top) out.Bottom = out.Top;
  return out;
}

void TCanvas::FillRect(const TRect& rect, COLORREF color) {
  const TRect r = ClipToSurface(rect);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const uint32_t px = 0xFF000000u | (static_cast<uint32_t>(GetRValue(color)) << 16) |
                      (static_cast<uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
  for (int32_t y = r.Top; y < r.Bottom; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(surface_.PictureRow(y));
    std::fill(row + r.Left, row + r.Right, px);
  }
}

}  // namespace gdi
