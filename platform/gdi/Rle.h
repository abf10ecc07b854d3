#pragma once
// Decoding of run-length encoded 4- and 8-bit bitmap data into a pixel store, as the system
// does when it makes a bitmap from compressed data.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/Color.h"
#include "platform/gdi/Dib.h"

namespace gdi {

// Decodes BI_RLE8 (bitCount 8) or BI_RLE4 (bitCount 4) data, whose first row is the bottom
// row, into the target store through the colour table (indices past the table give black).
// Pixels the data never sets (skipped by a delta, an early end of line or of the bitmap, or
// data that ends early) keep the target's colour; runs past the right edge are cut there;
// everything after the top row is ignored.  Never reads outside the data.
void DecodeRle(std::span<const uint8_t> data, int bitCount, const std::vector<RGBQuad>& colors, Dib& target);

}  // namespace gdi
