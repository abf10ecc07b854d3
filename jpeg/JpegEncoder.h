#pragma once
// Compression of a bitmap into JPEG bytes, for a JPEG image that holds a picture but no
// file (one copied from a bitmap) and is saved.

#include <cstdint>
#include <vector>

class TBitmap;

// The JPEG bytes of the bitmap's picture at a quality of 1 to 100, in grey or colour, and
// progressive (several scans) or not; none for a bitmap without pixels.
std::vector<uint8_t> EncodeBitmap(TBitmap& bitmap, int quality, bool grey, bool progressive);
