#include "platform/vcl/Graphics.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

namespace vcl {

void TextOut(gdi::TCanvas& canvas, int x, int y, std::string_view text, const TFont& font, gdi::COLORREF color) {
  gdi::Dib& surface = canvas.Surface();
  QImage image = SurfaceImage(surface);
  QPainter p(&image);
  const TRect clip = canvas.ClipRect;
  p.setClipRect(QRect(clip.Left, clip.Top, clip.Width(), clip.Height()));
  const QFont f = ToQFont(font);
  p.setFont(f);
  p.setPen(ToQColor(color));
  const QFontMetrics m(f);
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  p.drawText(QPoint(x + canvas.Origin.X, y + canvas.Origin.Y + m.ascent()), s);
}

int TextWidth(const TFont& font, std::string_view text) {
  const QFontMetrics m(ToQFont(font));
  return m.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int TextHeight(const TFont& font) {
  const QFontMetrics m(ToQFont(font));
  return m.height();
}

void DrawTransparent(gdi::TCanvas& canvas, int x, int y, const gdi::Dib& glyph, gdi::COLORREF transparent) {
  gdi::Dib& surface = canvas.Surface();
  const TRect clip = canvas.ClipRect;
  const int left = std::max(clip.Left, 0), top = std::max(clip.Top, 0);
  const int right = std::min<int>(clip.Right, surface.Width()), bottom = std::min<int>(clip.Bottom, surface.Height());
  for (int gy = 0; gy < glyph.Height(); ++gy) {
    const int sy = y + canvas.Origin.Y + gy;
    if (sy < top || sy >= bottom) continue;
    auto* row = reinterpret_cast<uint32_t*>(surface.PictureRow(sy));
    for (int gx = 0; gx < glyph.Width(); ++gx) {
      const int sx = x + canvas.Origin.X + gx;
      if (sx < left || sx >= right) continue;
      const gdi::COLORREF c = glyph.PixelColor(gx, gy);
      if (c == transparent) continue;
      row[sx] = 0xFF000000u | (uint32_t{gdi::GetRValue(c)} << 16) | (uint32_t{gdi::GetGValue(c)} << 8) |
                gdi::GetBValue(c);
    }
  }
}

gdi::COLORREF BottomLeftColor(const gdi::Dib& glyph) {
  return glyph.Height() > 0 ? glyph.PixelColor(0, glyph.Height() - 1) : gdi::kBlack;
}

}  // namespace vcl
