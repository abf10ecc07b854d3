#include "platform/gdi/EmfBitmap.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/rtl/ByteReader.h"

namespace gdi::emf {

namespace {

// Pixels of one bitmap in a record; beyond this a record is taken as damaged.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;

struct Info {
  int32_t width = 0, height = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<QRgb> colors;
};

int MaskShift(uint32_t m) {
  int s = 0;
  while (m && !(m & 1)) {
    m >>= 1;
    ++s;
  }
  return s;
}

// A mask's value scaled to 0..255.
uint32_t MaskValue(uint32_t pixel, uint32_t mask) {
  if (!mask) return 0;
  const int shift = MaskShift(mask);
  const uint32_t max = mask >> shift;
  return static_cast<uint32_t>((static_cast<uint64_t>((pixel & mask) >> shift) * 255 + max / 2) / max);
}

bool ReadInfo(std::span<const uint8_t> bmi, Info& info) {
  ByteReader r(bmi);
  const uint32_t size = r.U32();
  uint32_t clrUsed = 0;
  if (size == 12) {  // the old core header
    info.width = r.U16();
    info.height = r.I16();
    r.Skip(2);
    info.bitCount = r.U16();
  } else if (size >= 40) {
    info.width = r.I32();
    info.height = r.I32();
    r.Skip(2);
    info.bitCount = r.U16();
    info.compression = r.U32();
    r.Skip(12);
    clrUsed = r.U32();
    r.Skip(4);
    if (size >= 52 || info.compression == BI_BITFIELDS) {
      r.Seek(size >= 52 ? 40 : size);
      if (info.compression == BI_BITFIELDS)
        for (auto& m : info.masks) m = r.U32();
    }
    r.Seek(size);
  } else {
    return false;
  }
  if (info.width <= 0 || info.height == 0 || info.height == INT32_MIN) return false;
  const int64_t pixels = int64_t{info.width} * std::abs(int64_t{info.height});
  if (pixels > kMaxBitmapPixels) return false;
  if (info.bitCount <= 8) {
    const uint32_t maxColors = 1u << info.bitCount;
    const uint32_t n = clrUsed && clrUsed < maxColors ? clrUsed : maxColors;
    const size_t entry = size == 12 ? 3 : 4;
    for (uint32_t i = 0; i < n && r.Remaining() >= entry; ++i) {
      const uint8_t b = r.U8(), g = r.U8(), rd = r.U8();
      if (entry == 4) r.Skip(1);
      info.colors.push_back(qRgb(rd, g, b));
    }
    info.colors.resize(maxColors, qRgb(0, 0, 0));
  }
  if (info.compression == BI_RGB && (info.bitCount == 16 || info.bitCount == 32)) {
    info.masks[0] = info.bitCount == 16 ? 0x7C00 : 0xFF0000;
    info.masks[1] = info.bitCount == 16 ? 0x03E0 : 0x00FF00;
    info.masks[2] = info.bitCount == 16 ? 0x001F : 0x0000FF;
  }
  return true;
}

QRgb PixelAt(const uint8_t* row, int32_t x, const Info& info, bool keepAlpha) {
  switch (info.bitCount) {
    case 1: return info.colors[(row[x >> 3] >> (7 - (x & 7))) & 1];
    case 4: return info.colors[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
    case 8: return info.colors[row[x]];
    case 24: return qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    case 16: {
      const uint32_t p = row[x * 2] | (row[x * 2 + 1] << 8);
      return qRgb(MaskValue(p, info.masks[0]), MaskValue(p, info.masks[1]), MaskValue(p, info.masks[2]));
    }
    default: {
      const uint8_t* q = row + x * 4;
      const uint32_t p = q[0] | (q[1] << 8) | (q[2] << 16) | (static_cast<uint32_t>(q[3]) << 24);
      const QRgb c = qRgb(MaskValue(p, info.masks[0]), MaskValue(p, info.masks[1]), MaskValue(p, info.masks[2]));
      return keepAlpha ? qRgba(qRed(c), qGreen(c), qBlue(c), q[3]) : c;
    }
  }
}

// Run-length encoded rows (8 or 4 bits) into an index plane, rows from the bottom.
bool DecodeRle(std::span<const uint8_t> bits, const Info& info, std::vector<uint8_t>& indices) {
  const int32_t w = info.width, h = std::abs(info.height);
  indices.assign(static_cast<size_t>(w) * h, 0);
  const bool four = info.bitCount == 4;
  int32_t x = 0, y = 0;
  size_t i = 0;
  auto put = [&](uint8_t v) {
    if (x < w && y < h) indices[static_cast<size_t>(y) * w + x] = v;
    ++x;
  };
  while (i + 1 < bits.size()) {
    const uint8_t n = bits[i], v = bits[i + 1];
    i += 2;
    if (n) {
      for (int k = 0; k < n; ++k) put(four ? ((k & 1) ? (v & 0xF) : (v >> 4)) : v);
      continue;
    }
    if (v == 0) {
      x = 0;
      ++y;
    } else if (v == 1) {
      break;
    } else if (v == 2) {
      if (i + 1 >= bits.size()) break;
      x += bits[i];
      y += bits[i + 1];
      i += 2;
    } else {
      const size_t bytes = four ? (v + 1) / 2 : v;
      if (bytes > bits.size() - i) break;
      for (int k = 0; k < v; ++k) {
        const uint8_t b = bits[i + (four ? k / 2 : k)];
        put(four ? ((k & 1) ? (b & 0xF) : (b >> 4)) : b);
      }
      i += (bytes + 1) & ~size_t{1};
    }
    if (y >= h) break;
  }
  return true;
}

bool Fits(std::span<const uint8_t> record, uint32_t off, uint32_t size) {
  return off <= record.size() && size <= record.size() - off;
}

bool ReadRecordInfo(std::span<const uint8_t> record, const EmfBitmapFields& f, Info& info) {
  if (f.cbBmi < 12 || !Fits(record, f.offBmi, f.cbBmi) || !Fits(record, f.offBits, f.cbBits)) return false;
  try {
    return ReadInfo(record.subspan(f.offBmi, f.cbBmi), info);
  } catch (const EReadError&) {
    return false;
  }
}

}  // namespace

QImage EmfBitmap::WithoutColour(const QImage& image, QRgb colour) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] & 0xFFFFFF) == (colour & 0xFFFFFF)) row[x] = 0;
  }
  return out;
}

bool EmfBitmap::IsMonochrome(std::span<const uint8_t> record, const EmfBitmapFields& fields) {
  Info info;
  return ReadRecordInfo(record, fields, info) && info.bitCount == 1;
}

QImage EmfBitmap::Decode(std::span<const uint8_t> record, const EmfBitmapFields& f, bool keepAlpha, bool* bottomUp) {
  Info info;
  if (!ReadRecordInfo(record, f, info)) return {};
  if (bottomUp) *bottomUp = info.height > 0;
  if (f.usage != 0 && info.bitCount <= 8) {
    // Palette-relative colours: without a realised palette, grey levels keep the picture legible.
    for (size_t i = 0; i < info.colors.size(); ++i) {
      const int v = static_cast<int>(i * 255 / std::max<size_t>(1, info.colors.size() - 1));
      info.colors[i] = qRgb(v, v, v);
    }
  }
  const std::span<const uint8_t> bits = record.subspan(f.offBits, f.cbBits);
  const int32_t w = info.width, h = std::abs(info.height);
  const bool topDown = info.height < 0;
  QImage image(w, h, keepAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (image.isNull()) return {};

  const bool rle = (info.compression == BI_RLE8 && info.bitCount == 8) || (info.compression == BI_RLE4 && info.bitCount == 4);
  if (rle) {
    std::vector<uint8_t> indices;
    DecodeRle(bits, info, indices);
    for (int32_t y = 0; y < h; ++y) {
      auto* out = reinterpret_cast<QRgb*>(image.scanLine(h - 1 - y));
      for (int32_t x = 0; x < w; ++x) out[x] = info.colors[indices[static_cast<size_t>(y) * w + x] & (info.colors.size() - 1)];
    }
    return image;
  }
  const bool plain = info.compression == BI_RGB || (info.compression == BI_BITFIELDS && (info.bitCount == 16 || info.bitCount == 32));
  const int bc = info.bitCount;
  if (!plain || !(bc == 1 || bc == 4 || bc == 8 || bc == 16 || bc == 24 || bc == 32)) return {};
  const uint64_t stride = DibStride(w, bc);
  image.fill(0);
  // Rows missing at the end of the data stay black.
  const int64_t rows = std::min<int64_t>(h, static_cast<int64_t>(bits.size() / stride));
  for (int64_t s = 0; s < rows; ++s) {
    const uint8_t* row = bits.data() + s * stride;
    const int32_t y = topDown ? static_cast<int32_t>(s) : h - 1 - static_cast<int32_t>(s);
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < w; ++x) out[x] = PixelAt(row, x, info, keepAlpha);
  }
  return image;
}

namespace {

QPainter::CompositionMode ModeOf(uint32_t rop, bool& supported) {
  supported = true;
  switch (rop) {
    case SRCCOPY: return QPainter::CompositionMode_Source;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case SRCERASE: return QPainter::RasterOp_SourceAndNotDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    case NOTSRCERASE: return QPainter::RasterOp_NotSourceAndNotDestination;
    case MERGEPAINT: return QPainter::RasterOp_NotSourceOrDestination;
    default: supported = false; return QPainter::CompositionMode_Source;
  }
}

// Operations that use no source: the pattern, the destination or a constant.
bool BlitWithoutSource(QPainter& painter, const QRectF& dest, uint32_t rop, const QBrush& brush) {
  switch (rop) {
    case BLACKNESS: painter.fillRect(dest, Qt::black); return true;
    case WHITENESS: painter.fillRect(dest, Qt::white); return true;
    case PATCOPY: painter.fillRect(dest, brush); return true;
    case DSTCOPY: return true;
    case DSTINVERT:
      painter.setCompositionMode(QPainter::RasterOp_NotDestination);
      painter.fillRect(dest, Qt::black);
      return true;
    case PATINVERT:
      painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter.fillRect(dest, brush);
      return true;
    default: return false;
  }
}

}  // namespace

void EmfBitmap::Blit(QPainter& painter, const QImage& image, const QRectF& dest, const QRectF& src, uint32_t rop,
                     const QBrush& brush) {
  painter.save();
  if (BlitWithoutSource(painter, dest, rop, brush) || image.isNull()) {
    painter.restore();
    return;
  }
  bool supported = false;
  QPainter::CompositionMode mode = ModeOf(rop, supported);
  if (rop == MERGECOPY) {
    // source AND pattern: the pattern's colour masks the source first.
    QImage masked = image.copy(src.toAlignedRect());
    QPainter p(&masked);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.fillRect(masked.rect(), brush.color());
    p.end();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(dest, masked);
    painter.restore();
    return;
  }
  if (!supported) mode = QPainter::CompositionMode_Source;  // an unusual operation: copy
  if (image.hasAlphaChannel() && rop == SRCCOPY) mode = QPainter::CompositionMode_SourceOver;
  painter.setCompositionMode(mode);
  painter.drawImage(dest, image, src);
  painter.restore();
}

}  // namespace gdi::emf
