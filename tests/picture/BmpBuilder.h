#pragma once
// Builds small bitmap files byte by byte for the tests.

#include <cstdint>
#include <string>
#include <vector>

namespace bmptest {

struct BmpSpec {
  uint32_t headerSize = 40;
  int32_t width = 2;
  int32_t height = 2;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  uint32_t clrUsed = 0;
  std::vector<uint32_t> masks;          // written after a 40-byte header, or inside a longer one
  std::vector<uint32_t> colors;         // 0x00RRGGBB each
  std::vector<uint8_t> pixels;          // the pixel data as stored
  uint32_t gap = 0;                     // bytes of junk between the colour table and the pixels
};

inline void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& o, uint32_t v) {
  for (int i = 0; i < 4; ++i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s) {
  std::vector<uint8_t> o{'B', 'M'};
  const bool core = s.headerSize == 12;
  const uint32_t entry = core ? 3 : 4;
  const bool masksAfter = s.headerSize == 40 && !s.masks.empty();
  const uint32_t offBits = 14 + s.headerSize + (masksAfter ? 12 : 0) + entry * static_cast<uint32_t>(s.colors.size()) + s.gap;
  Put32(o, offBits + static_cast<uint32_t>(s.pixels.size()));
  Put32(o, 0);
  Put32(o, offBits);
  Put32(o, s.headerSize);
  if (core) {
    Put16(o, static_cast<uint32_t>(s.width));
    Put16(o, static_cast<uint32_t>(s.height));
    Put16(o, s.planes);
    Put16(o, s.bitCount);
  } else {
    Put32(o, static_cast<uint32_t>(s.width));
    Put32(o, static_cast<uint32_t>(s.height));
    Put16(o, s.planes);
    Put16(o, s.bitCount);
    Put32(o, s.compression);
    Put32(o, s.sizeImage);
    Put32(o, 2835);
    Put32(o, 2835);
    Put32(o, s.clrUsed);
    Put32(o, 0);
    uint32_t written = 40;
    if (!masksAfter)
      for (uint32_t m : s.masks) {
        if (written + 4 > s.headerSize) break;
        Put32(o, m);
        written += 4;
      }
    while (written < s.headerSize) {
      o.push_back(0);
      ++written;
    }
  }
  if (masksAfter)
    for (uint32_t m : s.masks) Put32(o, m);
  for (uint32_t c : s.colors) {
    o.push_back(static_cast<uint8_t>(c));
    o.push_back(static_cast<uint8_t>(c >> 8));
    o.push_back(static_cast<uint8_t>(c >> 16));
    if (!core) o.push_back(0);
  }
  o.insert(o.end(), s.gap, 0xEE);
  o.insert(o.end(), s.pixels.begin(), s.pixels.end());
  return o;
}

}  // namespace bmptest
