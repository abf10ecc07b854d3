#pragma once
// Helpers of the JPEG tests: fixtures, the shared sample files, and a decoding through the
// bare library with given parameters to compare pixels with.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "jpeg/JPEGImage.h"

std::string Fixture(const std::string& name);  // tests/data/jpeg/<name>
std::string Sample(const std::string& path);   // <shared testdata>/jpeg/<path>
bool Exists(const std::string& path);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

#define REQUIRE_FILE(path)                  \
  do {                                      \
    if (!Exists(path)) {                    \
      GTEST_SKIP() << "missing " << (path); \
    }                                       \
  } while (0)

std::unique_ptr<TJPEGImage> LoadImage(const std::string& path);
std::unique_ptr<TJPEGImage> LoadBytesImage(const std::vector<uint8_t>& bytes);

// What the bare library is asked for.
struct BareParams {
  unsigned scaleDenom = 1;
  J_DCT_METHOD dct = JDCT_FLOAT;
  bool grey = false;
  bool quantize = false;
  bool twoPass = true;
  J_DITHER_MODE dither = JDITHER_FS;
};

// The bare library's output: top-down rows of width * components bytes, and the colour map
// (as red, green, blue triples) when quantised.
struct BareImage {
  int width = 0, height = 0, components = 0;
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> palette;  // r, g, b per entry
  bool failed = false;
};
BareImage BareDecode(const std::vector<uint8_t>& file, const BareParams& params);

// Top-down rows of a bitmap without padding, bytes per pixel from its format.
std::vector<uint8_t> BitmapRows(TBitmap& bitmap);
// The bitmap's palette as red, green, blue triples.
std::vector<uint8_t> PaletteBytes(TBitmap& bitmap);

// Restores the screen depth, the tick source and the default settings after a test.
class JpegTest : public ::testing::Test {
 protected:
  void TearDown() override;
};
