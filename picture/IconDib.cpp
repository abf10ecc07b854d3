#include "picture/IconDib.h"

#include <bit>
#include <cstdint>

#include "platform/gdi/Dib.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

namespace icon {
namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaskFieldsSize = 12;

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic(msg::SInvalidIcon); }

bool PlainBitCount(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// A channel under a mask, widened to 8 bits.
uint32_t Channel(uint32_t v, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const uint32_t m = mask >> shift;
  return static_cast<uint32_t>((static_cast<uint64_t>((v & mask) >> shift) * 255 + m / 2) / m);
}

}  // namespace

IconDib::IconDib(const ZeroPadded& data) : data_(data) {
  width_ = static_cast<int32_t>(data.U32(4));
  height_ = data.U32(8) / 2;  // the colour image and the mask together
  bits_ = data.U16(14);
  compression_ = data.U32(16);
  const bool plain =
      compression_ == gdi::BI_RGB || (compression_ == gdi::BI_BITFIELDS && (bits_ == 16 || bits_ == 32));
  if (width_ <= 0 || height_ == 0 || height_ > static_cast<uint32_t>(INT32_MAX) || !plain || !PlainBitCount(bits_))
    InvalidIcon();
  colorStride_ = gdi::DibStride(width_, bits_);
  maskStride_ = gdi::DibStride(width_, 1);
  if (colorStride_ > gdi::kMaxPixelStoreBytes / height_) InvalidIcon();
  // Later header versions are longer; the colour table follows the header whatever its length.
  const uint32_t headerSize = data.U32(0);
  const bool knownHeader = headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124;
  tableOffset_ = knownHeader ? headerSize : kInfoHeaderSize;
  if (compression_ == gdi::BI_BITFIELDS) {
    redMask_ = data.U32(40);
    greenMask_ = data.U32(44);
    blueMask_ = data.U32(48);
    if (tableOffset_ == kInfoHeaderSize) tableOffset_ += kMaskFieldsSize;
  } else if (bits_ == 16) {
    redMask_ = 0x7C00, greenMask_ = 0x03E0, blueMask_ = 0x001F;
  } else {
    redMask_ = 0xFF0000, greenMask_ = 0xFF00, blueMask_ = 0xFF;
  }
  const uint64_t tableSize = bits_ <= 8 ? (uint64_t{4} << bits_) : 0;
  colorOffset_ = tableOffset_ + tableSize;
  maskOffset_ = colorOffset_ + colorStride_ * height_;
}

bool IconDib::MayHaveAlpha() const { return bits_ == 32 && compression_ == gdi::BI_RGB; }

uint32_t IconDib::Pixel(int32_t x, int32_t y) const {
  const uint64_t row = colorOffset_ + colorStride_ * (height_ - 1 - static_cast<uint32_t>(y));
  const auto ux = static_cast<uint64_t>(x);
  switch (bits_) {
    case 1:
      return TableColor((data_.U8(row + ux / 8) >> (7 - ux % 8)) & 1);
    case 4:
      return TableColor((data_.U8(row + ux / 2) >> (ux % 2 ? 0 : 4)) & 0xF);
    case 8:
      return TableColor(data_.U8(row + ux));
    case 16:
      return Masked(data_.U16(row + ux * 2));
    case 24:
      return data_.U8(row + ux * 3) | (data_.U8(row + ux * 3 + 1) << 8) |
             (static_cast<uint32_t>(data_.U8(row + ux * 3 + 2)) << 16);
    default: {
      const uint32_t v = data_.U32(row + ux * 4);
      return compression_ == gdi::BI_RGB ? v : (Masked(v) & 0x00FFFFFF);
    }
  }
}

bool IconDib::MaskBit(int32_t x, int32_t y) const {
  const uint64_t row = maskOffset_ + maskStride_ * (height_ - 1 - static_cast<uint32_t>(y));
  const auto ux = static_cast<uint64_t>(x);
  return (data_.U8(row + ux / 8) >> (7 - ux % 8)) & 1;
}

uint32_t IconDib::TableColor(unsigned index) const {
  const uint64_t at = tableOffset_ + uint64_t{4} * index;
  return data_.U8(at) | (data_.U8(at + 1) << 8) | (static_cast<uint32_t>(data_.U8(at + 2)) << 16);
}

uint32_t IconDib::Masked(uint32_t v) const {
  return (Channel(v, redMask_) << 16) | (Channel(v, greenMask_) << 8) | Channel(v, blueMask_);
}

}  // namespace icon
