#include "platform/gdi/Raster.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "platform/gdi/Palette.h"

namespace gdi {
namespace {

// floor(a / b) and ceil(a / b) for b > 0, without overflow for any 32-bit operands.
int64_t FloorDiv(__int128 a, __int128 b) {
  __int128 q = a / b;
  if ((a % b != 0) && (a < 0)) --q;
  return static_cast<int64_t>(q);
}
int64_t CeilDiv(__int128 a, __int128 b) { return -FloorDiv(-a, b); }

// One colour mask of a 16- or 32-bit store, widened to 8 bits.
class Channel {
 public:
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask_ == 0) return;
    shift_ = std::countr_zero(mask_);
    max_ = mask_ >> shift_;
    if (max_ < 65536) {
      lut_.resize(max_ + 1);
      for (uint32_t v = 0; v <= max_; ++v) lut_[v] = Widen(v);
    }
  }
  uint8_t Get(uint32_t pixel) const {
    if (mask_ == 0) return 0;
    const uint32_t v = (pixel & mask_) >> shift_;
    return lut_.empty() ? Widen(v) : lut_[v];
  }
  uint32_t Put(uint8_t c) const {
    if (mask_ == 0) return 0;
    return static_cast<uint32_t>((static_cast<uint64_t>(c) * max_ + 127) / 255) << shift_;
  }

 private:
  uint8_t Widen(uint32_t v) const { return WidenChannel(v << shift_, mask_); }
  uint32_t mask_;
  int shift_ = 0;
  uint32_t max_ = 0;
  std::vector<uint8_t> lut_;
};

// Reads the pixels of a store's rows as surface pixels.
class RowReader {
 public:
  explicit RowReader(const Dib& src)
      : bits_(src.BitCount()), red_(Masks(src.Header(), 0)), green_(Masks(src.Header(), 1)), blue_(Masks(src.Header(), 2)) {
    if (bits_ <= 8) {
      table_.fill(0xFF000000u);
      const auto& colors = src.Colors();
      for (size_t i = 0; i < colors.size() && i < 256; ++i)
        table_[i] = SurfacePixel(RGB(colors[i].red, colors[i].green, colors[i].blue));
    }
    uint32_t r, g, b;
    EffectiveMasks(src.Header(), r, g, b);
    plain32_ = bits_ == 32 && r == 0x00FF0000 && g == 0x0000FF00 && b == 0x000000FF;
    lastColumn_ = src.Width() - 1;
  }

  // out[i] = pixel of the row at column xs[i].
  void Fetch(const uint8_t* row, const int32_t* xs, size_t n, uint32_t* out) const {
    switch (bits_) {
      case 1:
        for (size_t i = 0; i < n; ++i) out[i] = table_[(row[xs[i] >> 3] >> (7 - (xs[i] & 7))) & 1];
        return;
      case 4:
        for (size_t i = 0; i < n; ++i) {
          const uint8_t b = row[xs[i] >> 1];
          out[i] = table_[(xs[i] & 1) ? (b & 0x0F) : (b >> 4)];
        }
        return;
      case 8:
        for (size_t i = 0; i < n; ++i) out[i] = table_[row[xs[i]]];
        return;
      case 24: Fetch24(row, xs, n, out); return;
      case 16:
        for (size_t i = 0; i < n; ++i) {
          const uint8_t* p = row + 2 * static_cast<size_t>(xs[i]);
          out[i] = FromMasks(static_cast<uint32_t>(p[0] | (p[1] << 8)));
        }
        return;
      case 32:
        if (plain32_) {
          for (size_t i = 0; i < n; ++i) {
            uint32_t v;
            std::memcpy(&v, row + 4 * static_cast<size_t>(xs[i]), 4);
            out[i] = v | 0xFF000000u;
          }
        } else {
          for (size_t i = 0; i < n; ++i) {
            uint32_t v;
            std::memcpy(&v, row + 4 * static_cast<size_t>(xs[i]), 4);
            out[i] = FromMasks(v);
          }
        }
        return;
      default:
        std::fill(out, out + n, 0xFF000000u);
        return;
    }
  }

 private:
  static uint32_t Masks(const DibHeader& h, int which) {
    if (h.bitCount != 16 && h.bitCount != 32) return 0;
    uint32_t m[3];
    EffectiveMasks(h, m[0], m[1], m[2]);
    return m[which];
  }
  uint32_t FromMasks(uint32_t v) const {
    return 0xFF000000u | (static_cast<uint32_t>(red_.Get(v)) << 16) | (static_cast<uint32_t>(green_.Get(v)) << 8) |
           blue_.Get(v);
  }
  // The hot path of painting a decoded picture: one unaligned 4-byte load per pixel, except
  // for the picture's last column, whose fourth byte may lie past the store.
  void Fetch24(const uint8_t* row, const int32_t* xs, size_t n, uint32_t* out) const {
    for (size_t i = 0; i < n; ++i) {
      const int32_t x = xs[i];
      const uint8_t* p = row + 3 * static_cast<size_t>(x);
      if (x < lastColumn_) {
        uint32_t v;
        std::memcpy(&v, p, 4);
        out[i] = v | 0xFF000000u;
      } else {
        out[i] = 0xFF000000u | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
      }
    }
  }

  int bits_;
  std::array<uint32_t, 256> table_{};
  Channel red_, green_, blue_;
  bool plain32_ = false;
  int32_t lastColumn_ = 0;
};

// Where each drawn destination pixel of one axis takes its source pixels from.
struct AxisMap {
  int32_t first = 0;            // surface coordinate of the first drawn pixel
  std::vector<int32_t> nearest;  // source pixel of each drawn pixel
  std::vector<int32_t> lo, hi;   // the source pixels each drawn pixel covers: [lo, hi)
  size_t Count() const { return nearest.size(); }
};

// d, dw: destination start and extent (surface coordinates); s, sw: source start and extent;
// [clipLo, clipHi): drawable destination; srcExtent: the store's size on this axis.
AxisMap MapAxis(int64_t d, int64_t dw, int64_t s, int64_t sw, int32_t clipLo, int32_t clipHi, int32_t srcExtent,
                bool footprints) {
  AxisMap m;
  if (dw == 0 || sw == 0 || clipHi <= clipLo) return m;
  if (dw < 0) {  // mirror both so that the destination runs forwards; the mapping is unchanged
    d += dw;
    dw = -dw;
    s += sw;
    sw = -sw;
  }
  const int64_t iBegin = std::max<int64_t>(0, clipLo - d);
  const int64_t iEnd = std::min<int64_t>(dw, clipHi - d);
  const bool shrink = (sw < 0 ? -sw : sw) > dw;
  bool started = false;
  for (int64_t i = iBegin; i < iEnd; ++i) {
    const int64_t n = s + FloorDiv(static_cast<__int128>(2 * i + 1) * sw, 2 * static_cast<__int128>(dw));
    if (n < 0 || n >= srcExtent) {
      if (started) break;
      continue;
    }
    if (!started) {
      m.first = static_cast<int32_t>(d + i);
      started = true;
    }
    m.nearest.push_back(static_cast<int32_t>(n));
    if (footprints) {
      int64_t lo = n, hi = n + 1;
      if (shrink) {
        const __int128 a = static_cast<__int128>(i) * sw, b = static_cast<__int128>(i + 1) * sw;
        lo = s + FloorDiv(std::min(a, b), dw);
        hi = s + CeilDiv(std::max(a, b), dw);
        lo = std::clamp<int64_t>(lo, 0, n);
        hi = std::clamp<int64_t>(hi, n + 1, srcExtent);
      }
      m.lo.push_back(static_cast<int32_t>(lo));
      m.hi.push_back(static_cast<int32_t>(hi));
    }
  }
  return m;
}

struct ClipBounds {
  int32_t left, top, right, bottom;
};
ClipBounds Bounds(const TCanvas& c) {
  return {std::max(c.ClipRect.Left, 0), std::max(c.ClipRect.Top, 0), std::min(c.ClipRect.Right, c.Surface().Width()),
          std::min(c.ClipRect.Bottom, c.Surface().Height())};
}

uint32_t* SurfaceRow(TCanvas& c, int32_t y) { return reinterpret_cast<uint32_t*>(c.Surface().PictureRow(y)); }

void CombineRow(uint32_t rop, uint32_t pattern, const uint32_t* src, uint32_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) dst[i] = ApplyRop3(rop, pattern, src[i], dst[i]) | 0xFF000000u;
}

// Shrinking with a combining stretch mode: each drawn pixel combines its source footprint.
void StretchCombining(TCanvas& dst, const Dib& src, const RowReader& reader, const AxisMap& cols, const AxisMap& rows,
                      uint32_t rop) {
  const int mode = dst.StretchBltMode;
  const int32_t x0 = *std::min_element(cols.lo.begin(), cols.lo.end());
  const int32_t x1 = *std::max_element(cols.hi.begin(), cols.hi.end());
  std::vector<int32_t> xs(static_cast<size_t>(x1 - x0));
  for (size_t i = 0; i < xs.size(); ++i) xs[i] = x0 + static_cast<int32_t>(i);
  std::vector<uint32_t> line(xs.size()), out(cols.Count());
  std::vector<uint64_t> sum(cols.Count() * 4);
  std::vector<uint32_t> acc(cols.Count());
  const uint32_t pattern = SurfacePixel(dst.BrushColor);
  for (size_t j = 0; j < rows.Count(); ++j) {
    std::fill(sum.begin(), sum.end(), 0);
    std::fill(acc.begin(), acc.end(), mode == WHITEONBLACK ? 0u : 0xFFFFFFFFu);
    for (int32_t r = rows.lo[j]; r < rows.hi[j]; ++r) {
      reader.Fetch(src.PictureRow(r), xs.data(), xs.size(), line.data());
      for (size_t i = 0; i < cols.Count(); ++i) {
        for (int32_t x = cols.lo[i]; x < cols.hi[i]; ++x) {
          const uint32_t p = line[static_cast<size_t>(x - x0)];
          if (mode == HALFTONE) {
            sum[4 * i] += (p >> 16) & 0xFF;
            sum[4 * i + 1] += (p >> 8) & 0xFF;
            sum[4 * i + 2] += p & 0xFF;
            sum[4 * i + 3] += 1;
          } else if (mode == WHITEONBLACK) {
            acc[i] |= p;
          } else {
            acc[i] &= p;
          }
        }
      }
    }
    for (size_t i = 0; i < cols.Count(); ++i) {
      if (mode == HALFTONE) {
        const uint64_t k = sum[4 * i + 3];
        out[i] = 0xFF000000u | static_cast<uint32_t>((sum[4 * i] + k / 2) / k) << 16 |
                 static_cast<uint32_t>((sum[4 * i + 1] + k / 2) / k) << 8 | static_cast<uint32_t>((sum[4 * i + 2] + k / 2) / k);
      } else {
        out[i] = acc[i] | 0xFF000000u;
      }
    }
    uint32_t* d = SurfaceRow(dst, rows.first + static_cast<int32_t>(j)) + cols.first;
    if (rop == SRCCOPY)
      std::memcpy(d, out.data(), out.size() * 4);
    else
      CombineRow(rop, pattern, out.data(), d, out.size());
  }
}

// Writes pixels into a store's row in the store's format.
class RowWriter {
 public:
  explicit RowWriter(const Dib& dst)
      : bits_(dst.BitCount()), colors_(dst.Colors()), red_(Mask(dst, 0)), green_(Mask(dst, 1)), blue_(Mask(dst, 2)) {
    cache_.fill({0xFFFFFFFFu, 0});
  }
  void Put(uint8_t* row, int32_t x, COLORREF c) {
    switch (bits_) {
      case 1: PutIndex(row, x, Index(c)); return;
      case 4: PutIndex(row, x, Index(c)); return;
      case 8: row[x] = Index(c); return;
      case 24: {
        uint8_t* p = row + 3 * static_cast<size_t>(x);
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
        return;
      }
      case 16: {
        const uint32_t v = Packed(c);
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        return;
      }
      case 32: {
        const uint32_t v = Packed(c);
        std::memcpy(row + 4 * static_cast<size_t>(x), &v, 4);
        return;
      }
      default: return;
    }
  }
  void PutIndex(uint8_t* row, int32_t x, uint8_t index) {
    if (bits_ == 8) {
      row[x] = index;
    } else if (bits_ == 4) {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (index & 0x0F)) : static_cast<uint8_t>((b & 0x0F) | (index << 4));
    } else if (bits_ == 1) {
      uint8_t& b = row[x >> 3];
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      b = (index & 1) ? static_cast<uint8_t>(b | bit) : static_cast<uint8_t>(b & ~bit);
    }
  }
  // The nearest table entry, remembered per colour: conversions meet few distinct colours.
  uint8_t Index(COLORREF c) {
    c &= 0x00FFFFFF;
    auto& slot = cache_[(c ^ (c >> 12)) & (cache_.size() - 1)];
    if (slot.first != c) slot = {c, static_cast<uint8_t>(NearestPaletteIndex(colors_, GetRValue(c), GetGValue(c), GetBValue(c)))};
    return slot.second;
  }

 private:
  static uint32_t Mask(const Dib& d, int which) {
    if (d.BitCount() != 16 && d.BitCount() != 32) return 0;
    uint32_t m[3];
    EffectiveMasks(d.Header(), m[0], m[1], m[2]);
    return m[which];
  }
  uint32_t Packed(COLORREF c) const { return red_.Put(GetRValue(c)) | green_.Put(GetGValue(c)) | blue_.Put(GetBValue(c)); }

  int bits_;
  const std::vector<RGBQuad>& colors_;
  Channel red_, green_, blue_;
  std::array<std::pair<uint32_t, uint8_t>, 4096> cache_;
};

uint8_t IndexAt(const uint8_t* row, int bits, int32_t x) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default: return row[x];
  }
}

bool SameFormat(const Dib& a, const Dib& b) {
  if (a.BitCount() != b.BitCount()) return false;
  if (a.BitCount() <= 8) return false;  // tables are mapped by index
  uint32_t ar, ag, ab, br, bg, bb;
  EffectiveMasks(a.Header(), ar, ag, ab);
  EffectiveMasks(b.Header(), br, bg, bb);
  return ar == br && ag == bg && ab == bb;
}

}  // namespace

uint32_t ApplyRop3(uint32_t rop, uint32_t p, uint32_t s, uint32_t d) {
  switch (rop) {
    case SRCCOPY: return s;
    case SRCAND: return s & d;
    case SRCINVERT: return s ^ d;
    case SRCPAINT: return s | d;
    case SRCERASE: return s & ~d;
    case NOTSRCCOPY: return ~s;
    case DSTCOPY: return d;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFFFFu;
    default: break;
  }
  // Bit k of the index byte is the result for pattern, source, destination bits (p, s, d)
  // with k = 4p + 2s + d.
  const uint32_t index = (rop >> 16) & 0xFF;
  uint32_t r = 0;
  for (int k = 0; k < 8; ++k) {
    if (!(index & (1u << k))) continue;
    r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
  }
  return r;
}

void StretchBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, const Dib& src, int32_t sx, int32_t sy,
                int32_t sw, int32_t sh, uint32_t rop) {
  const ClipBounds clip = Bounds(dst);
  const bool combine = dst.StretchBltMode != COLORONCOLOR &&
                       (std::abs(static_cast<int64_t>(sw)) > std::abs(static_cast<int64_t>(w)) ||
                        std::abs(static_cast<int64_t>(sh)) > std::abs(static_cast<int64_t>(h)));
  const AxisMap cols = MapAxis(static_cast<int64_t>(x) + dst.Origin.X, w, sx, sw, clip.left, clip.right, src.Width(), combine);
  const AxisMap rows = MapAxis(static_cast<int64_t>(y) + dst.Origin.Y, h, sy, sh, clip.top, clip.bottom, src.Height(), combine);
  if (cols.Count() == 0 || rows.Count() == 0) return;
  const RowReader reader(src);
  if (combine) {
    StretchCombining(dst, src, reader, cols, rows, rop);
    return;
  }
  const uint32_t pattern = SurfacePixel(dst.BrushColor);
  std::vector<uint32_t> line(rop == SRCCOPY ? 0 : cols.Count());
  for (size_t j = 0; j < rows.Count(); ++j) {
    uint32_t* d = SurfaceRow(dst, rows.first + static_cast<int32_t>(j)) + cols.first;
    if (rop == SRCCOPY) {
      if (j > 0 && rows.nearest[j] == rows.nearest[j - 1]) {  // enlarging: repeat the row above
        std::memcpy(d, SurfaceRow(dst, rows.first + static_cast<int32_t>(j) - 1) + cols.first, cols.Count() * 4);
      } else {
        reader.Fetch(src.PictureRow(rows.nearest[j]), cols.nearest.data(), cols.Count(), d);
      }
    } else {
      reader.Fetch(src.PictureRow(rows.nearest[j]), cols.nearest.data(), cols.Count(), line.data());
      CombineRow(rop, pattern, line.data(), d, cols.Count());
    }
  }
}

void BitBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, const Dib& src, int32_t sx, int32_t sy,
            uint32_t rop) {
  StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

void PatBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) {
  TRect r{x, y, x + w, y + h};
  if (w < 0) std::swap(r.Left, r.Right);
  if (h < 0) std::swap(r.Top, r.Bottom);
  const TRect c = dst.ClipToSurface(r);
  const uint32_t pattern = SurfacePixel(dst.BrushColor);
  for (int32_t yy = c.Top; yy < c.Bottom; ++yy) {
    uint32_t* row = SurfaceRow(dst, yy);
    for (int32_t xx = c.Left; xx < c.Right; ++xx) row[xx] = ApplyRop3(rop, pattern, 0, row[xx]) | 0xFF000000u;
  }
}

void MaskBlt(TCanvas& dst, int32_t x, int32_t y, int32_t w, int32_t h, const Dib& src, int32_t sx, int32_t sy,
             const Dib& mask, int32_t mx, int32_t my, uint32_t foreRop, uint32_t backRop) {
  if (w <= 0 || h <= 0 || mask.BitCount() != 1) return;
  const ClipBounds clip = Bounds(dst);
  const AxisMap cols = MapAxis(static_cast<int64_t>(x) + dst.Origin.X, w, sx, w, clip.left, clip.right, src.Width(), false);
  const AxisMap rows = MapAxis(static_cast<int64_t>(y) + dst.Origin.Y, h, sy, h, clip.top, clip.bottom, src.Height(), false);
  if (cols.Count() == 0 || rows.Count() == 0) return;
  const RowReader reader(src);
  const uint32_t pattern = SurfacePixel(dst.BrushColor);
  std::vector<uint32_t> line(cols.Count());
  const int64_t mdx = static_cast<int64_t>(mx) - sx, mdy = static_cast<int64_t>(my) - sy;  // source to mask offset
  for (size_t j = 0; j < rows.Count(); ++j) {
    reader.Fetch(src.PictureRow(rows.nearest[j]), cols.nearest.data(), cols.Count(), line.data());
    uint32_t* d = SurfaceRow(dst, rows.first + static_cast<int32_t>(j)) + cols.first;
    const int64_t maskY = rows.nearest[j] + mdy;
    const bool rowInMask = maskY >= 0 && maskY < mask.Height();
    const uint8_t* maskRow = rowInMask ? mask.PictureRow(static_cast<int32_t>(maskY)) : nullptr;
    for (size_t i = 0; i < cols.Count(); ++i) {
      const int64_t maskX = cols.nearest[i] + mdx;
      const bool fore = maskRow && maskX >= 0 && maskX < mask.Width() && IndexAt(maskRow, 1, static_cast<int32_t>(maskX));
      d[i] = ApplyRop3(fore ? foreRop : backRop, pattern, line[i], d[i]) | 0xFF000000u;
    }
  }
}

std::unique_ptr<Dib> ColorToMonochrome(const Dib& src, COLORREF background) {
  DibHeader h;
  h.width = src.Width();
  h.height = src.Height();
  h.bitCount = 1;
  auto mask = Dib::Create(h, {RGBQuad{0, 0, 0, 0}, RGBQuad{255, 255, 255, 0}});
  if (!mask) return nullptr;
  const int32_t width = src.Width();
  std::vector<uint8_t> bit(256, 0);  // for a 1-bit source: table entry -> nearer of black/white
  if (src.BitCount() == 1) {
    for (size_t i = 0; i < src.Colors().size() && i < 2; ++i) {
      const RGBQuad& q = src.Colors()[i];
      bit[i] = (q.red + q.green + q.blue) >= 383 ? 1 : 0;
    }
  }
  std::vector<int32_t> xs(static_cast<size_t>(width));
  for (int32_t i = 0; i < width; ++i) xs[static_cast<size_t>(i)] = i;
  std::vector<uint32_t> line(xs.size());
  const RowReader reader(src);
  const uint32_t key = SurfacePixel(background);
  for (int32_t y = 0; y < src.Height(); ++y) {
    const uint8_t* in = src.PictureRow(y);
    uint8_t* out = mask->PictureRow(y);
    if (src.BitCount() == 1) {
      for (int32_t x = 0; x < width; ++x)
        if (bit[IndexAt(in, 1, x)]) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      continue;
    }
    reader.Fetch(in, xs.data(), xs.size(), line.data());
    for (int32_t x = 0; x < width; ++x)
      if (line[static_cast<size_t>(x)] == key) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
  }
  return mask;
}

void CopyPixels(Dib& dst, const Dib& src) {
  const int32_t w = std::min(dst.Width(), src.Width());
  const int32_t h = std::min(dst.Height(), src.Height());
  if (w <= 0 || h <= 0) return;
  if (SameFormat(dst, src)) {
    const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(src.BitCount() / 8);
    for (int32_t y = 0; y < h; ++y) std::memcpy(dst.PictureRow(y), src.PictureRow(y), bytes);
    return;
  }
  RowWriter writer(dst);
  if (src.BitCount() <= 8 && dst.BitCount() <= 8) {
    // Map table to table once.
    std::array<uint8_t, 256> map{};
    for (size_t i = 0; i < (size_t{1} << src.BitCount()); ++i) {
      const RGBQuad q = i < src.Colors().size() ? src.Colors()[i] : RGBQuad{};
      map[i] = writer.Index(RGB(q.red, q.green, q.blue));
    }
    for (int32_t y = 0; y < h; ++y) {
      const uint8_t* in = src.PictureRow(y);
      uint8_t* out = dst.PictureRow(y);
      for (int32_t x = 0; x < w; ++x) writer.PutIndex(out, x, map[IndexAt(in, src.BitCount(), x)]);
    }
    return;
  }
  std::vector<int32_t> xs(static_cast<size_t>(w));
  for (int32_t i = 0; i < w; ++i) xs[static_cast<size_t>(i)] = i;
  std::vector<uint32_t> line(xs.size());
  const RowReader reader(src);
  for (int32_t y = 0; y < h; ++y) {
    reader.Fetch(src.PictureRow(y), xs.data(), xs.size(), line.data());
    uint8_t* out = dst.PictureRow(y);
    for (int32_t x = 0; x < w; ++x) writer.Put(out, x, SurfaceColor(line[static_cast<size_t>(x)]));
  }
}

void FillPixels(Dib& dst, int32_t w, int32_t h, COLORREF color) {
  w = std::min(w, dst.Width());
  h = std::min(h, dst.Height());
  if (w <= 0 || h <= 0) return;
  RowWriter writer(dst);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = dst.PictureRow(y);
    for (int32_t x = 0; x < w; ++x) writer.Put(row, x, color);
  }
}

}  // namespace gdi
