#pragma once
// Device-independent pixel stores: rows of 1, 4, 8, 16, 24 or 32 bits a pixel, each padded
// to a multiple of 4 bytes, bottom-up (positive height) or top-down (negative height), with
// a colour table of up to 256 entries for 8 bits or fewer and three masks for 16 and 32 bits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gdi/Color.h"

namespace gdi {

// The most memory one picture's pixels may take.  A file that declares more is refused by
// its reader with the format's own error, never allocated.
inline constexpr uint64_t kMaxPixelStoreBytes = uint64_t{1} << 30;

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;

struct DibHeader {
  int32_t width = 0;
  int32_t height = 0;  // positive: bottom-up; negative: top-down
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = BI_RGB;
  uint32_t redMask = 0, greenMask = 0, blueMask = 0;  // compression BI_BITFIELDS only
};

// Bytes of one row: ((width * bits + 31) & ~31) / 8, computed without overflow.
uint64_t DibStride(int64_t width, int bitCount);
// Bytes of the whole store, or 0 when the description is not a valid plain format.
uint64_t DibImageSize(const DibHeader& header);
// Whether a store of this description may be made (valid format, under the ceiling).
bool DibFits(const DibHeader& header);

class Dib {
 public:
  // Makes a store with every byte 0.  Answers none when the description is not a valid
  // plain format (compression other than 0 and 3, bad bit count, zero size) or exceeds the
  // ceiling.
  static std::unique_ptr<Dib> Create(const DibHeader& header, std::vector<RGBQuad> colors = {});

  // Makes a store with every pixel of one colour (the nearest table entry at 8 bits or
  // fewer), touching each byte once; answers none as Create does.
  static std::unique_ptr<Dib> CreateFilled(const DibHeader& header, std::vector<RGBQuad> colors, COLORREF color);
  // Makes a store whose bytes are left unset, for a caller that writes every pixel.
  static std::unique_ptr<Dib> CreateUninitialized(const DibHeader& header, std::vector<RGBQuad> colors = {});

  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  std::unique_ptr<Dib> Clone() const;

  const DibHeader& Header() const { return header_; }
  int32_t Width() const { return header_.width; }
  int32_t Height() const { return header_.height < 0 ? -header_.height : header_.height; }
  bool TopDown() const { return header_.height < 0; }
  int BitCount() const { return header_.bitCount; }
  size_t Stride() const { return stride_; }
  size_t ByteSize() const { return stride_ * static_cast<size_t>(Height()); }
  uint8_t* Bits() { return bits_.get(); }
  const uint8_t* Bits() const { return bits_.get(); }

  // Row y of the picture, counted from the top (0 <= y < Height(); not checked here).
  uint8_t* PictureRow(int32_t y) { return bits_.get() + stride_ * StoredIndex(y); }
  const uint8_t* PictureRow(int32_t y) const { return bits_.get() + stride_ * StoredIndex(y); }

  std::vector<RGBQuad>& Colors() { return colors_; }
  const std::vector<RGBQuad>& Colors() const { return colors_; }

  // The colour of a pixel (x, y from the top), whatever the format; 0 outside.
  COLORREF PixelColor(int32_t x, int32_t y) const;
  // Fills every pixel with one colour (the nearest table entry for 8 bits or fewer).
  void Fill(COLORREF color);

 private:
  struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
  };
  Dib(const DibHeader& header, std::vector<RGBQuad> colors, size_t stride, std::unique_ptr<uint8_t, FreeDeleter> bits)
      : header_(header), colors_(std::move(colors)), stride_(stride), bits_(std::move(bits)) {}
  size_t StoredIndex(int32_t y) const {
    return static_cast<size_t>(TopDown() ? y : Height() - 1 - y);
  }

  DibHeader header_;
  std::vector<RGBQuad> colors_;
  size_t stride_ = 0;
  std::unique_ptr<uint8_t, FreeDeleter> bits_;
};

// The three masks a 16- or 32-bit store uses (its own for BI_BITFIELDS, else 5-5-5 / 8-8-8).
void EffectiveMasks(const DibHeader& header, uint32_t& red, uint32_t& green, uint32_t& blue);

// A masked channel widened to 8 bits by repeating its bits (5 bits abcde give abcdeabc);
// channels wider than 8 bits keep their top 8.
uint8_t WidenChannel(uint32_t value, uint32_t mask);

}  // namespace gdi
