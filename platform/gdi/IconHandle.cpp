#include "platform/gdi/IconHandle.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "platform/gdi/DeviceCaps.h"

namespace gdi {

HICON CreateIcon(int32_t width, int32_t height, std::vector<uint32_t> color, std::vector<uint8_t> mask, bool alpha) {
  if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return nullptr;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (color.size() != count || mask.size() != count) return nullptr;
  return std::make_shared<const IconImage>(width, height, std::move(color), std::move(mask), alpha);
}

namespace {

// A small window: black frame, blue title bar with a light button, white client area.
HICON MakeApplicationIcon() {
  const int32_t w = SystemIconWidth(), h = SystemIconHeight();
  std::vector<uint32_t> color(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  std::vector<uint8_t> mask(color.size(), 1);
  const int32_t left = w / 16, top = h * 3 / 32, right = w - 1 - w / 16, bottom = h - 1 - h * 3 / 32;
  const int32_t titleBottom = top + h / 5;
  for (int32_t y = top; y <= bottom; ++y) {
    for (int32_t x = left; x <= right; ++x) {
      uint32_t c = 0xFFFFFFFF;
      if (x == left || x == right || y == top || y == bottom || y == titleBottom)
        c = 0xFF000000;
      else if (y < titleBottom)
        c = (x >= right - h / 8 && x < right - 1 && y > top + 1 && y < titleBottom - 1) ? 0xFFC0C0C0 : 0xFF000080;
      const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
      color[i] = c & 0x00FFFFFF;
      mask[i] = 0;
    }
  }
  return CreateIcon(w, h, std::move(color), std::move(mask), false);
}

uint32_t BigEndian32(std::span<const uint8_t> d, size_t at) {
  return (uint32_t{d[at]} << 24) | (uint32_t{d[at + 1]} << 16) | (uint32_t{d[at + 2]} << 8) | d[at + 3];
}

// Whether the PNG's chunks lie within its bytes, starting with a header whose size fits an
// icon.  The decoder sizes its buffers by the chunks' own lengths, so a damaged length must
// not reach it.
bool PngChunksFit(std::span<const uint8_t> png) {
  constexpr size_t kSignature = 8, kChunkFrame = 12;  // length, type, check value
  constexpr uint32_t kHeader = 0x49484452, kEnd = 0x49454E44;
  size_t pos = kSignature;
  bool first = true;
  while (png.size() - pos >= kChunkFrame) {
    const uint32_t length = BigEndian32(png, pos), type = BigEndian32(png, pos + 4);
    if (length > png.size() - pos - kChunkFrame) return false;
    if (first) {
      if (type != kHeader || length != 13) return false;
      const uint32_t width = BigEndian32(png, pos + 8), height = BigEndian32(png, pos + 12);
      if (width == 0 || height == 0 || width > static_cast<uint32_t>(kMaxIconSide) ||
          height > static_cast<uint32_t>(kMaxIconSide))
        return false;
      first = false;
    }
    pos += kChunkFrame + length;
    if (type == kEnd) break;
  }
  return !first;
}

uint8_t Blend(uint32_t src, uint32_t dst, uint32_t alpha, int shift) {
  const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
  return static_cast<uint8_t>((s * alpha + d * (255 - alpha) + 127) / 255);
}

}  // namespace

HICON LoadApplicationIcon() {
  static const HICON icon = MakeApplicationIcon();
  return icon;
}

HICON CreateIconFromPng(std::span<const uint8_t> png, int32_t width, int32_t height) {
  if (png.size() < 8 || png.size() > static_cast<size_t>(INT32_MAX) || !PngChunksFit(png)) return nullptr;
  QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(png.data()), static_cast<qsizetype>(png.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "PNG");
  // The size its header declares is checked before anything is decoded.
  const QSize declared = reader.size();
  if (!declared.isValid() || declared.width() > kMaxIconSide || declared.height() > kMaxIconSide) return nullptr;
  QImage image = reader.read();
  if (image.isNull()) return nullptr;
  if (width == 0) width = image.width();
  if (height == 0) height = image.height();
  if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return nullptr;
  if (image.width() != width || image.height() != height)
    image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  image = image.convertToFormat(QImage::Format_ARGB32);
  if (image.isNull() || image.width() != width || image.height() != height) return nullptr;
  std::vector<uint32_t> color(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    std::copy(row, row + width, color.begin() + static_cast<ptrdiff_t>(y) * width);
  }
  std::vector<uint8_t> mask(color.size(), 0);
  return CreateIcon(width, height, std::move(color), std::move(mask), true);
}

void DrawIconEx(TCanvas& canvas, int32_t x, int32_t y, const HICON& icon) {
  if (!icon || canvas.Surface().BitCount() != 32) return;
  const int64_t right = static_cast<int64_t>(x) + icon->Width(), bottom = static_cast<int64_t>(y) + icon->Height();
  if (right > INT32_MAX || bottom > INT32_MAX) return;
  const TRect area = canvas.ClipToSurface(TRect{x, y, static_cast<int32_t>(right), static_cast<int32_t>(bottom)});
  Dib& surface = canvas.Surface();
  // Surface position minus this is the icon position.
  const int64_t ox = static_cast<int64_t>(x) + canvas.Origin.X, oy = static_cast<int64_t>(y) + canvas.Origin.Y;
  for (int32_t sy = area.Top; sy < area.Bottom; ++sy) {
    auto* row = reinterpret_cast<uint32_t*>(surface.PictureRow(sy));
    const auto iy = static_cast<int32_t>(sy - oy);
    for (int32_t sx = area.Left; sx < area.Right; ++sx) {
      const auto ix = static_cast<int32_t>(sx - ox);
      const uint32_t c = icon->Color(ix, iy);
      uint32_t& d = row[sx];
      if (icon->HasAlpha()) {
        const uint32_t a = c >> 24;
        if (a == 0) continue;
        d = 0xFF000000u | (static_cast<uint32_t>(Blend(c, d, a, 16)) << 16) |
            (static_cast<uint32_t>(Blend(c, d, a, 8)) << 8) | Blend(c, d, a, 0);
      } else {
        const uint32_t keep = icon->Masked(ix, iy) ? 0x00FFFFFFu : 0u;
        d = 0xFF000000u | ((d & keep) ^ (c & 0x00FFFFFFu));
      }
    }
  }
}

}  // namespace gdi
