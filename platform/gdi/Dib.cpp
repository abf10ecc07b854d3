#include "platform/gdi/Dib.h"

#include <bit>
#include <cstring>

#include "platform/gdi/Palette.h"

namespace gdi {

uint64_t DibStride(int64_t width, int bitCount) {
  if (width <= 0 || bitCount <= 0) return 0;
  return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) & ~uint64_t{31}) / 8;
}

namespace {
bool ValidBitCount(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Expands a masked channel to 8 bits.
uint8_t Channel(uint32_t value, uint32_t mask) { return WidenChannel(value, mask); }
}  // namespace

uint64_t DibImageSize(const DibHeader& h) {
  if (!ValidBitCount(h.bitCount) || h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return 0;
  if (h.compression != BI_RGB && h.compression != BI_BITFIELDS) return 0;
  const uint64_t rows = static_cast<uint64_t>(h.height < 0 ? -static_cast<int64_t>(h.height) : h.height);
  return DibStride(h.width, h.bitCount) * rows;
}

bool DibFits(const DibHeader& h) {
  const uint64_t size = DibImageSize(h);
  return size > 0 && size <= kMaxPixelStoreBytes;
}

std::unique_ptr<Dib> Dib::Create(const DibHeader& header, std::vector<RGBQuad> colors) {
  if (!DibFits(header)) return nullptr;
  const size_t size = static_cast<size_t>(DibImageSize(header));
  auto* p = static_cast<uint8_t*>(std::calloc(size, 1));
  if (!p) return nullptr;
  if (header.bitCount <= 8 && colors.size() > (size_t{1} << header.bitCount)) colors.resize(size_t{1} << header.bitCount);
  if (header.bitCount > 8 && colors.size() > 256) colors.resize(256);
  return std::unique_ptr<Dib>(new Dib(header, std::move(colors), static_cast<size_t>(DibStride(header.width, header.bitCount)),
                                      std::unique_ptr<uint8_t, FreeDeleter>(p)));
}

std::unique_ptr<Dib> Dib::CreateUninitialized(const DibHeader& header, std::vector<RGBQuad> colors) {
  if (!DibFits(header)) return nullptr;
  const size_t size = static_cast<size_t>(DibImageSize(header));
  auto* p = static_cast<uint8_t*>(std::malloc(size));
  if (!p) return nullptr;
  if (header.bitCount <= 8 && colors.size() > (size_t{1} << header.bitCount)) colors.resize(size_t{1} << header.bitCount);
  if (header.bitCount > 8 && colors.size() > 256) colors.resize(256);
  return std::unique_ptr<Dib>(new Dib(header, std::move(colors), static_cast<size_t>(DibStride(header.width, header.bitCount)),
                                      std::unique_ptr<uint8_t, FreeDeleter>(p)));
}

std::unique_ptr<Dib> Dib::CreateFilled(const DibHeader& header, std::vector<RGBQuad> colors, COLORREF color) {
  auto dib = CreateUninitialized(header, std::move(colors));
  if (dib) dib->Fill(color);
  return dib;
}

std::unique_ptr<Dib> Dib::Clone() const {
  auto copy = Create(header_, colors_);
  if (copy) std::memcpy(copy->Bits(), Bits(), ByteSize());
  return copy;
}

void EffectiveMasks(const DibHeader& h, uint32_t& red, uint32_t& green, uint32_t& blue) {
  if (h.compression == BI_BITFIELDS) {
    red = h.redMask;
    green = h.greenMask;
    blue = h.blueMask;
  } else if (h.bitCount == 16) {
    red = 0x7C00;
    green = 0x03E0;
    blue = 0x001F;
  } else {
    red = 0x00FF0000;
    green = 0x0000FF00;
    blue = 0x000000FF;
  }
}

uint8_t WidenChannel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const uint32_t m = mask >> shift;
  const uint32_t v = (value & mask) >> shift;
  const int bits = std::bit_width(m);
  if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
  uint32_t out = 0;
  for (int at = 8 - bits; at > -bits; at -= bits) out |= at >= 0 ? (v << at) : (v >> -at);
  return static_cast<uint8_t>(out);
}

COLORREF Dib::PixelColor(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const uint8_t* row = PictureRow(y);
  auto fromTable = [&](unsigned index) -> COLORREF {
    if (index >= colors_.size()) return 0;
    const RGBQuad& q = colors_[index];
    return RGB(q.red, q.green, q.blue);
  };
  switch (header_.bitCount) {
    case 1: return fromTable((row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4: return fromTable((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    case 8: return fromTable(row[x]);
    case 24: {
      const uint8_t* p = row + 3 * static_cast<size_t>(x);
      return RGB(p[2], p[1], p[0]);
    }
    case 16:
    case 32: {
      uint32_t v = 0;
      if (header_.bitCount == 16) {
        v = static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
      } else {
        std::memcpy(&v, row + 4 * static_cast<size_t>(x), 4);
      }
      uint32_t rm, gm, bm;
      EffectiveMasks(header_, rm, gm, bm);
      return RGB(Channel(v, rm), Channel(v, gm), Channel(v, bm));
    }
    default: return 0;
  }
}

void Dib::Fill(COLORREF color) {
  const uint8_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  const int32_t w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  std::vector<uint8_t> row(stride_, 0);
  switch (header_.bitCount) {
    case 1:
    case 4:
    case 8: {
      const int index = NearestPaletteIndex(colors_, r, g, b);
      uint8_t byte = 0;
      if (header_.bitCount == 8) byte = static_cast<uint8_t>(index);
      if (header_.bitCount == 4) byte = static_cast<uint8_t>((index << 4) | index);
      if (header_.bitCount == 1) byte = index ? 0xFF : 0x00;
      std::memset(row.data(), byte, stride_);
      break;
    }
    case 24:
      for (int32_t x = 0; x < w; ++x) {
        row[3 * x] = b;
        row[3 * x + 1] = g;
        row[3 * x + 2] = r;
      }
      break;
    case 16:
    case 32: {
      uint32_t rm, gm, bm;
      EffectiveMasks(header_, rm, gm, bm);
      auto put = [](uint8_t c, uint32_t mask) -> uint32_t {
        if (!mask) return 0;
        const int shift = std::countr_zero(mask);
        const uint32_t m = mask >> shift;
        return ((static_cast<uint32_t>(c) * m + 127) / 255) << shift;
      };
      const uint32_t v = put(r, rm) | put(g, gm) | put(b, bm);
      for (int32_t x = 0; x < w; ++x) {
        if (header_.bitCount == 16) {
          row[2 * x] = static_cast<uint8_t>(v);
          row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        } else {
          std::memcpy(row.data() + 4 * static_cast<size_t>(x), &v, 4);
        }
      }
      break;
    }
    default: return;
  }
  // Whole-white stores are the common case: one memset.
  bool uniform = true;
  for (size_t i = 1; i < stride_ && uniform; ++i) uniform = row[i] == row[0];
  if (uniform) {
    std::memset(bits_.get(), row[0], ByteSize());
    return;
  }
  for (int32_t y = 0; y < h; ++y) std::memcpy(bits_.get() + stride_ * static_cast<size_t>(y), row.data(), stride_);
}

}  // namespace gdi
