#include "platform/gdi/Rle.h"

#include <array>
#include <cstring>

#include "platform/gdi/Raster.h"

namespace gdi {
namespace {

// Puts palette-index pixels into a 32-bit target, counting rows from the bottom.
class RleTarget {
 public:
  RleTarget(Dib& target, const std::vector<RGBQuad>& colors) : target_(target) {
    table_.fill(0);
    for (size_t i = 0; i < colors.size() && i < 256; ++i)
      table_[i] = SurfacePixel(RGB(colors[i].red, colors[i].green, colors[i].blue)) & 0x00FFFFFFu;
  }
  bool RowInside(int64_t y) const { return y >= 0 && y < target_.Height(); }
  void Put(int64_t x, int64_t y, uint8_t index) {
    if (x < 0 || x >= target_.Width() || !RowInside(y)) return;
    uint8_t* row = target_.PictureRow(static_cast<int32_t>(target_.Height() - 1 - y));
    const uint32_t v = table_[index];
    std::memcpy(row + 4 * static_cast<size_t>(x), &v, 4);
  }

 private:
  Dib& target_;
  std::array<uint32_t, 256> table_{};
};

}  // namespace

void DecodeRle(std::span<const uint8_t> data, int bitCount, const std::vector<RGBQuad>& colors, Dib& target) {
  if (target.BitCount() != 32 || (bitCount != 4 && bitCount != 8)) return;
  RleTarget out(target, colors);
  const size_t n = data.size();
  size_t pos = 0;
  int64_t x = 0, y = 0;
  const int64_t width = target.Width();
  while (pos + 1 < n && out.RowInside(y)) {
    const uint8_t count = data[pos], value = data[pos + 1];
    pos += 2;
    if (count > 0) {  // a run of one index (8 bits) or of two alternating indices (4 bits)
      for (int k = 0; k < count && x < width; ++k, ++x) {
        const uint8_t index = bitCount == 8 ? value : ((k & 1) ? (value & 0x0F) : (value >> 4));
        out.Put(x, y, index);
      }
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta: right, then up
        if (pos + 1 >= n) return;
        x += data[pos];
        y += data[pos + 1];
        pos += 2;
        break;
      default: {  // literal pixels, padded to a 16-bit boundary
        const size_t bytes = bitCount == 8 ? value : (static_cast<size_t>(value) + 1) / 2;
        for (int k = 0; k < value; ++k, ++x) {
          const size_t at = pos + (bitCount == 8 ? static_cast<size_t>(k) : static_cast<size_t>(k) / 2);
          if (at >= n) return;
          const uint8_t b = data[at];
          const uint8_t index = bitCount == 8 ? b : ((k & 1) ? (b & 0x0F) : (b >> 4));
          out.Put(x, y, index);
        }
        pos += bytes + (bytes & 1);
        break;
      }
    }
  }
}

}  // namespace gdi
