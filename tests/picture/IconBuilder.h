#pragma once
// Icon files made in memory for the tests: a directory and, per entry, a 24- or 32-bit image
// with its mask, or any bytes as the entry's data.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"

namespace icontest {

inline void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// 0xAARRGGBB per pixel (row 0 at the top); masked pixels keep the background.
using PixelFn = std::function<uint32_t(int x, int y)>;
using MaskFn = std::function<bool(int x, int y)>;

inline std::vector<uint8_t> Dib(int w, int h, int bits, const PixelFn& pixel, const MaskFn& masked = nullptr) {
  const size_t stride = (static_cast<size_t>(w) * static_cast<size_t>(bits) / 8 + 3) / 4 * 4;
  const size_t maskStride = (static_cast<size_t>(w) + 31) / 32 * 4;
  std::vector<uint8_t> d(40 + (stride + maskStride) * static_cast<size_t>(h), 0);
  Put32(d, 0, 40);
  Put32(d, 4, static_cast<uint32_t>(w));
  Put32(d, 8, static_cast<uint32_t>(2 * h));
  Put16(d, 12, 1);
  Put16(d, 14, static_cast<uint16_t>(bits));
  for (int y = 0; y < h; ++y) {
    const size_t row = 40 + stride * static_cast<size_t>(h - 1 - y);
    const size_t maskRow = 40 + stride * static_cast<size_t>(h) + maskStride * static_cast<size_t>(h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const uint32_t c = pixel(x, y);
      const size_t at = row + static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
      d[at] = static_cast<uint8_t>(c);
      d[at + 1] = static_cast<uint8_t>(c >> 8);
      d[at + 2] = static_cast<uint8_t>(c >> 16);
      if (bits == 32) d[at + 3] = static_cast<uint8_t>(c >> 24);
      if (masked && masked(x, y)) d[maskRow + static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return d;
}

struct Entry {
  int width, height;  // as the directory states them (0..255)
  uint16_t colors;
  std::vector<uint8_t> data;
};

inline Entry Solid(int w, int h, uint16_t colors, uint32_t rgb) {
  return Entry{w, h, colors, Dib(w, h, 24, [rgb](int, int) { return rgb; })};
}

// A directory of the given type and entries, each entry's data after the directory.
inline std::vector<uint8_t> File(uint16_t type, const std::vector<Entry>& entries) {
  std::vector<uint8_t> f(6 + 16 * entries.size(), 0);
  Put16(f, 2, type);
  Put16(f, 4, static_cast<uint16_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    const size_t at = 6 + 16 * i;
    f[at] = static_cast<uint8_t>(e.width);
    f[at + 1] = static_cast<uint8_t>(e.height);
    Put16(f, at + 2, e.colors);
    Put16(f, at + 4, 1);
    Put16(f, at + 6, 24);
    Put32(f, at + 8, static_cast<uint32_t>(e.data.size()));
    Put32(f, at + 12, static_cast<uint32_t>(f.size()));
    f.insert(f.end(), e.data.begin(), e.data.end());
  }
  return f;
}

// A 32-bit surface filled with one colour, and its pixels as 0xRRGGBB.
class Surface {
 public:
  Surface(int w, int h, uint32_t rgb) {
    gdi::DibHeader hd;
    hd.width = w;
    hd.height = -h;
    hd.bitCount = 32;
    dib_ = gdi::Dib::Create(hd);
    canvas_ = std::make_unique<gdi::TCanvas>(*dib_);
    canvas_->FillRect(TRect{0, 0, w, h}, gdi::RGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                                   static_cast<uint8_t>(rgb)));
  }
  gdi::TCanvas& Canvas() { return *canvas_; }
  gdi::Dib& Pixels() { return *dib_; }
  uint32_t At(int x, int y) const {
    return reinterpret_cast<const uint32_t*>(dib_->PictureRow(y))[x] & 0x00FFFFFF;
  }

 private:
  std::unique_ptr<gdi::Dib> dib_;
  std::unique_ptr<gdi::TCanvas> canvas_;
};

}  // namespace icontest
