#pragma once
// The stored image of one icon entry: a device-independent bitmap (an info header, a colour
// table, the colour rows and the 1-bit mask rows, bottom-up), read where it lies in the
// file's bytes.  Bytes past the end of the data read as zero, as the icon format allows.

#include <algorithm>
#include <cstdint>
#include <span>

namespace icon {

// A view of bytes in which everything past the end reads as zero: the icon format lets
// entries and images run past the end of the file.
class ZeroPadded {
 public:
  explicit ZeroPadded(std::span<const uint8_t> data) : data_(data) {}
  uint8_t U8(uint64_t off) const { return off < data_.size() ? data_[static_cast<size_t>(off)] : 0; }
  uint16_t U16(uint64_t off) const { return static_cast<uint16_t>(U8(off) | (U8(off + 1) << 8)); }
  uint32_t U32(uint64_t off) const { return U16(off) | (static_cast<uint32_t>(U16(off + 2)) << 16); }
  // Where the available bytes start with these, in full.
  bool StartsWith(std::span<const uint8_t> prefix) const {
    return data_.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data_.begin());
  }
  std::span<const uint8_t> Available() const { return data_; }

 private:
  std::span<const uint8_t> data_;
};

class IconDib {
 public:
  // Raises EInvalidGraphic ("Image icône incorrecte") for an image in a form that cannot be
  // drawn: no size, an odd bit count, run-length rows, more pixels than the ceiling allows.
  explicit IconDib(const ZeroPadded& data);

  int32_t Width() const { return width_; }
  int32_t Height() const { return static_cast<int32_t>(height_); }
  bool MayHaveAlpha() const;

  // 0xAARRGGBB of a pixel, row 0 at the top (the alpha byte is 0 except for 32-bit rows).
  uint32_t Pixel(int32_t x, int32_t y) const;
  // Whether the mask keeps the background at a pixel.
  bool MaskBit(int32_t x, int32_t y) const;

 private:
  uint32_t TableColor(unsigned index) const;
  uint32_t Masked(uint32_t v) const;

  ZeroPadded data_;
  int32_t width_ = 0;
  uint32_t height_ = 0;
  uint16_t bits_ = 0;
  uint32_t compression_ = 0;
  uint32_t redMask_ = 0, greenMask_ = 0, blueMask_ = 0;
  uint64_t colorStride_ = 0, maskStride_ = 0;
  uint64_t tableOffset_ = 0, colorOffset_ = 0, maskOffset_ = 0;
};

}  // namespace icon
