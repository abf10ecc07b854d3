// Reading bitmap files: crafted files for each rule and failure, and every sample file of
// the shared test data compared pixel for pixel with ImageMagick or a reference rendering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "BmpBuilder.h"
#include "picture/Bitmap.h"
#include "picture/Picture.h"
#include "platform/gdi/Raster.h"
#include "platform/rtl/Exceptions.h"

using bmptest::BmpSpec;
using bmptest::BuildBmp;
using gdi::RGB;
namespace fs = std::filesystem;

namespace {

constexpr gdi::COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

std::vector<uint8_t> ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void Load(TBitmap& b, const std::vector<uint8_t>& bytes) {
  TMemoryStream s(bytes);
  b.LoadStream(s);
}

// What a load raised: class and text, or nothing.
struct Outcome {
  std::string kind;  // "", "EInvalidGraphic", "EReadError", "other"
  std::string text;
};
Outcome TryLoad(TBitmap& b, const std::vector<uint8_t>& bytes) {
  try {
    Load(b, bytes);
    return {};
  } catch (const EInvalidGraphic& e) {
    return {"EInvalidGraphic", e.Message()};
  } catch (const EReadError& e) {
    return {"EReadError", e.Message()};
  } catch (const std::exception& e) {
    return {"other", e.what()};
  }
}

// The picture's pixels as drawn at its own size: r, g, b per pixel, rows from the top.
std::vector<uint8_t> RenderRgb(TBitmap& b) {
  gdi::DibHeader h;
  h.width = b.Width();
  h.height = -b.Height();
  h.bitCount = 32;
  auto surface = gdi::Dib::Create(h);
  gdi::TCanvas canvas(*surface);
  canvas.FillRect(Rect(0, 0, b.Width(), b.Height()), RGB(1, 2, 3));
  b.Render(canvas, Rect(0, 0, b.Width(), b.Height()));
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(b.Width()) * static_cast<size_t>(b.Height()) * 3);
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) {
      uint32_t v;
      std::memcpy(&v, surface->PictureRow(y) + 4 * x, 4);
      out.push_back(static_cast<uint8_t>(v >> 16));
      out.push_back(static_cast<uint8_t>(v >> 8));
      out.push_back(static_cast<uint8_t>(v));
    }
  return out;
}

// ---- Crafted files ------------------------------------------------------------------------

struct ErrorCase {
  const char* name;
  std::vector<uint8_t> bytes;
  const char* kind;
  const char* text;
};

std::vector<uint8_t> Truncated(std::vector<uint8_t> v, size_t n) {
  v.resize(n);
  return v;
}
std::vector<uint8_t> Patched(std::vector<uint8_t> v, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(value >> (8 * i));
  return v;
}
BmpSpec Pal8(uint32_t colours) {
  BmpSpec s;
  s.bitCount = 8;
  s.clrUsed = colours;
  s.colors.assign(colours, 0x112233);
  s.pixels.assign(8, 0);
  return s;
}
BmpSpec Masked16() {
  BmpSpec s;
  s.bitCount = 16;
  s.compression = 3;
  s.masks = {0xF800, 0x07E0, 0x001F};
  s.pixels.assign(8, 0);
  return s;
}

std::vector<ErrorCase> ErrorCases() {
  const auto plain = BuildBmp(BmpSpec{});
  BmpSpec planes;
  planes.planes = 2;
  BmpSpec header16;
  header16.headerSize = 16;
  BmpSpec bits2 = Pal8(4);
  bits2.bitCount = 2;
  BmpSpec huge;
  huge.width = 30000;
  huge.height = 30000;  // 2.7 GB of pixels
  BmpSpec wide;
  wide.width = -5;
  BmpSpec jpeg;
  jpeg.compression = 4;
  BmpSpec rleTopDown = Pal8(2);
  rleTopDown.compression = 1;
  rleTopDown.height = -2;
  BmpSpec rleBits = Pal8(2);
  rleBits.compression = 2;  // 4-bit encoding of an 8-bit picture
  BmpSpec masks24;
  masks24.compression = 3;
  const auto pal8 = BuildBmp(Pal8(4));
  return {
      {"NotBM", {'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0}, "EInvalidGraphic", "Image bitmap incorrecte"},
      {"TenBytesBM", Truncated(plain, 10), "EReadError", "Erreur de lecture du flux"},
      {"EndsInHeaderSize", Truncated(plain, 16), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"EndsInInfoHeader", Truncated(plain, 40), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"HeaderSizeHuge", Patched(plain, 14, 0xFFFFFFF0u), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"HeaderSize16", BuildBmp(header16), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"PlanesTwo", BuildBmp(planes), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"MasksCut", Truncated(BuildBmp(Masked16()), 14 + 40 + 6), "EReadError", "Erreur de lecture du flux"},
      {"ColourTableCut", Truncated(pal8, 14 + 40 + 10), "EReadError", "Erreur de lecture du flux"},
      {"ColourCount257", BuildBmp(Pal8(257)), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"ColourCountHuge", Patched(pal8, 14 + 32, 0x7FFFFFFF), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"BitCount2", BuildBmp(bits2), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"OverTheCeiling", BuildBmp(huge), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"NegativeWidth", BuildBmp(wide), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"EmbeddedJpeg", BuildBmp(jpeg), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"RunLengthTopDown", BuildBmp(rleTopDown), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"RunLengthWrongDepth", BuildBmp(rleBits), "EInvalidGraphic", "Image bitmap incorrecte"},
      {"MasksOn24Bits", BuildBmp(masks24), "EInvalidGraphic", "Image bitmap incorrecte"},
  };
}

class BitmapReadErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(BitmapReadErrorTest, RefusedAndTheBitmapKeepsItsPicture) {
  TBitmap b;
  BmpSpec before;
  before.pixels = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0};
  Load(b, BuildBmp(before));
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  const Outcome o = TryLoad(b, GetParam().bytes);
  EXPECT_EQ(o.kind, GetParam().kind);
  EXPECT_EQ(o.text, GetParam().text);
  EXPECT_EQ(changes, 0);
  ASSERT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Store()->PixelColor(1, 1), kRed);
}

INSTANTIATE_TEST_SUITE_P(Crafted, BitmapReadErrorTest, ::testing::ValuesIn(ErrorCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BitmapReadTest, EmptyFileGivesAnEmptyBitmapWithoutNotification) {
  TBitmap b;
  BmpSpec s;
  s.pixels.assign(16, 0);
  Load(b, BuildBmp(s));
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  Load(b, {});
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Palette(), nullptr);
  EXPECT_EQ(changes, 0);
}

TEST(BitmapReadTest, CoreHeaderHasThreeByteColours) {
  BmpSpec s;
  s.headerSize = 12;
  s.bitCount = 8;
  s.width = 2;
  s.height = 1;
  s.colors.assign(256, 0);
  s.colors[1] = 0xFF0000;
  s.colors[2] = 0x0000FF;
  s.pixels = {1, 2, 0, 0};
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bits8);
  EXPECT_EQ(b.Store()->PixelColor(0, 0), kRed);
  EXPECT_EQ(b.Store()->PixelColor(1, 0), kBlue);
  EXPECT_EQ(b.Store()->Colors()[1], (gdi::RGBQuad{0, 0, 255, 0}));
}

TEST(BitmapReadTest, MasksAfterAFortyByteHeaderComeBeforeThePixels) {
  BmpSpec s = Masked16();
  s.width = 2;
  s.height = 1;
  s.pixels = {0x00, 0xF8, 0x1F, 0x00};  // red, blue
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bits16);
  EXPECT_EQ(b.Store()->PixelColor(0, 0), kRed);
  EXPECT_EQ(b.Store()->PixelColor(1, 0), kBlue);
}

TEST(BitmapReadTest, MasksInsideALongerHeader) {
  BmpSpec s = Masked16();
  s.headerSize = 108;
  s.masks = {0x001F, 0x07E0, 0xF800};  // red and blue swapped
  s.width = 1;
  s.height = 1;
  s.pixels = {0x1F, 0x00, 0, 0};
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.Store()->PixelColor(0, 0), kRed);
}

TEST(BitmapReadTest, PixelsStartWhereTheColourTableEndsWhateverTheOffset) {
  BmpSpec s;
  s.bitCount = 8;
  s.width = 1;
  s.height = 1;
  s.clrUsed = 2;
  s.colors = {0x0000FF, 0xFF0000};
  s.gap = 4;  // the header's offset points past four bytes of 0xEE
  s.pixels = {1, 0, 0, 0};
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.Store()->Bits()[0], 0xEE);
  EXPECT_EQ(b.Store()->PixelColor(0, 0), gdi::kBlack);  // index 0xEE is past the table
}

TEST(BitmapReadTest, ShortPixelDataLeavesTheRestZero) {
  BmpSpec s;
  s.width = 1;
  s.height = 2;
  s.pixels = {0, 0, 255, 0};  // only the bottom row
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.Store()->PixelColor(0, 1), kRed);
  EXPECT_EQ(b.Store()->PixelColor(0, 0), gdi::kBlack);
}

TEST(BitmapReadTest, ImageSizeLargerThanTheStoreReadsOnlyTheStore) {
  BmpSpec s;
  s.width = 1;
  s.height = 1;
  s.sizeImage = 0x7FFFFFFF;
  s.pixels.assign(64, 0x80);
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.Store()->PixelColor(0, 0), RGB(0x80, 0x80, 0x80));
}

TEST(BitmapReadTest, HighColourTableBecomesThePalette) {
  BmpSpec s;
  s.clrUsed = 3;
  s.colors = {0x010203, 0x040506, 0x070809};
  s.pixels.assign(16, 0);
  TBitmap b;
  Load(b, BuildBmp(s));
  ASSERT_NE(b.Palette(), nullptr);
  EXPECT_EQ(b.Palette()->Size(), 3u);
  EXPECT_TRUE(b.PaletteDirty());
}

// Run-length data: runs, literals with padding, a delta, end of line and end of bitmap;
// pixels never set stay black, and runs past the edge are cut.
TEST(BitmapReadTest, RunLengthEightBits) {
  BmpSpec s;
  s.bitCount = 8;
  s.compression = 1;
  s.width = 4;
  s.height = 3;
  s.clrUsed = 3;
  s.colors = {0x00FF00, 0xFF0000, 0x0000FF};
  s.pixels = {6, 1,              // bottom row: red x4, the rest cut
              0, 0,              // end of line
              0, 3, 2, 1, 2, 0,  // literal blue red blue, padded
              0, 2, 0, 1,        // delta: stay in column 3, one row up
              1, 0,              // green at (3, top)
              0, 1,              // end of bitmap
              5, 2};
  s.sizeImage = static_cast<uint32_t>(s.pixels.size());
  TBitmap b;
  Load(b, BuildBmp(s));
  const gdi::Dib& d = *b.Store();
  for (int x = 0; x < 4; ++x) EXPECT_EQ(d.PixelColor(x, 2), kRed);
  EXPECT_EQ(d.PixelColor(0, 1), kBlue);
  EXPECT_EQ(d.PixelColor(1, 1), kRed);
  EXPECT_EQ(d.PixelColor(2, 1), kBlue);
  EXPECT_EQ(d.PixelColor(3, 1), gdi::kBlack);
  EXPECT_EQ(d.PixelColor(3, 0), RGB(0, 255, 0));
  EXPECT_EQ(d.PixelColor(0, 0), gdi::kBlack);
  ASSERT_NE(b.Palette(), nullptr);
  EXPECT_EQ(b.Palette()->Size(), 3u);
}

TEST(BitmapReadTest, RunLengthFourBits) {
  BmpSpec s;
  s.bitCount = 4;
  s.compression = 2;
  s.width = 5;
  s.height = 1;
  s.clrUsed = 3;
  s.colors = {0x00FF00, 0xFF0000, 0x0000FF};
  s.pixels = {3, 0x12, 0, 3, 0x01, 0x20, 0, 1};  // red blue red | literal green red blue (2 bytes: even)
  s.sizeImage = static_cast<uint32_t>(s.pixels.size());
  TBitmap b;
  Load(b, BuildBmp(s));
  const gdi::Dib& d = *b.Store();
  EXPECT_EQ(d.PixelColor(0, 0), kRed);
  EXPECT_EQ(d.PixelColor(1, 0), kBlue);
  EXPECT_EQ(d.PixelColor(2, 0), kRed);
  EXPECT_EQ(d.PixelColor(3, 0), RGB(0, 255, 0));
  EXPECT_EQ(d.PixelColor(4, 0), kRed);
}

TEST(BitmapReadTest, ChannelsOfAnyWidthSpanTheFullRange) {
  // 4-4-4 masks: 0xF becomes 0xFF, 0x8 becomes 0x88.
  BmpSpec s;
  s.bitCount = 16;
  s.compression = 3;
  s.masks = {0x0F00, 0x00F0, 0x000F};
  s.width = 1;
  s.height = 1;
  s.pixels = {0x80, 0x0F, 0, 0};
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.Store()->PixelColor(0, 0), RGB(0xFF, 0x88, 0x00));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Custom);
}

// ---- Sample files ---------------------------------------------------------------------------

#ifndef MIRELUNE_TESTDATA
#define MIRELUNE_TESTDATA ""
#endif

const fs::path kBmpData = fs::path(MIRELUNE_TESTDATA) / "bmp";

enum class Oracle {
  ImageMagick,  // our pixels equal ImageMagick's
  Reference,    // our pixels equal another rendering (reference PNG or a twin file)
  LoadsOnly,    // loads at the catalogue's size; nobody agrees on its pixels
  Refused,      // "Image bitmap incorrecte"
};

struct SampleRule {
  Oracle oracle;
  std::string reference;  // relative to testdata/bmp, for Oracle::Reference
  std::string why;
};

// Every file not named here must equal ImageMagick's rendering.
const std::map<std::string, SampleRule>& SampleRules() {
  static const std::map<std::string, SampleRule> rules = [] {
    std::map<std::string, SampleRule> r;
    auto refuse = [&](const std::string& path, const char* why) { r[path] = {Oracle::Refused, "", why}; };
    auto ref = [&](const std::string& path, const std::string& reference, const char* why) {
      r[path] = {Oracle::Reference, reference, why};
    };
    auto loads = [&](const std::string& path, const char* why) { r[path] = {Oracle::LoadsOnly, "", why}; };
    for (const char* dir : {"bmpsuite/b/", "image-rs/bad/Bad_"}) {
      refuse(std::string(dir) + "badbitcount.bmp", "bit count 30000");
      refuse(std::string(dir) + "reallybig.bmp", "over the pixel ceiling");
    }
    refuse("bmpsuite/b/badpalettesize.bmp", "more than 256 colours");
    refuse("bmpsuite/b/badplanes.bmp", "planes other than 1");
    refuse("bmpsuite/b/badwidth.bmp", "negative width");
    refuse("bmpsuite/b/rletopdown.bmp", "run-length data cannot be top-down");
    refuse("bmpsuite/q/pal1huffmsb.bmp", "compression 3 at 1 bit");
    refuse("bmpsuite/q/pal2.bmp", "2 bits a pixel");
    refuse("bmpsuite/q/pal2color.bmp", "2 bits a pixel");
    refuse("bmpsuite/q/pal8os2v2-16.bmp", "header size 16");
    refuse("bmpsuite/q/pal8oversizepal.bmp", "300 colours");
    refuse("bmpsuite/q/rgb24jpeg.bmp", "embedded JPEG");
    refuse("bmpsuite/q/rgb24png.bmp", "embedded PNG");
    refuse("bmpsuite/q/rgb24largepal.bmp", "300 colours");
    refuse("bmpsuite/q/rgb24rle24.bmp", "24-bit run-length data");
    refuse("bmpsuite/q/rgba32abf.bmp", "compression 6");
    refuse("bmpsuite/q/rgba64.bmp", "64 bits a pixel");
    refuse("bmpsuite/x/ba-bm.bmp", "not BM");
    refuse("image-rs/bad/Bad_clrsUsed.bmp", "more than 256 colours");
    refuse("image-rs/bad/Bad_height.bmp", "height 0");
    refuse("image-rs/bad/Bad_width.bmp", "negative width");
    refuse("image-rs/good/pal2.bmp", "2 bits a pixel");
    refuse("image-rs/good/pal2color.bmp", "2 bits a pixel");
    refuse("image-rs/good/rgb24rle24.bmp", "24-bit run-length data");
    refuse("image-rs/good/rgba32abf.bmp", "compression 6");
    refuse("image-rs/good/lenient/badpalettesize.bmp", "more than 256 colours");
    refuse("image-rs/good/lenient/badplanes.bmp", "planes other than 1");
    refuse("image-rs/good/lenient/pal8oversizepal.bmp", "300 colours");
    refuse("image-rs/good/lenient/rletopdown.bmp", "run-length data cannot be top-down");
    refuse("pillow/l2rgb_read.bmp", "absurd height");

    // Pixels never set by run-length data are black, as in the suite's "-b" renderings;
    // ImageMagick paints them with colour 0 or refuses the file.
    ref("bmpsuite/q/pal4rlecut.bmp", "bmpsuite/reference/pal4rlecut-b.png", "data ends early");
    ref("bmpsuite/q/pal8rlecut.bmp", "bmpsuite/reference/pal8rlecut-b.png", "data ends early");
    ref("bmpsuite/q/pal4rletrns.bmp", "bmpsuite/reference/pal4rletrns-b.png", "deltas skip pixels");
    ref("bmpsuite/q/pal8rletrns.bmp", "bmpsuite/reference/pal8rletrns-b.png", "deltas skip pixels");
    ref("image-rs/good/pal4rlecut.bmp", "image-rs/reference/pal4rlecut.bmp.png", "data ends early");
    ref("image-rs/good/pal4rletrns.bmp", "bmpsuite/reference/pal4rletrns-b.png", "deltas skip pixels");
    // ImageMagick refuses these or reads them otherwise; other renderings agree with ours.
    ref("bmpsuite/q/pal8os2v2.bmp", "bmpsuite/g/pal8.bmp", "64-byte header: ImageMagick misreads its colour table");
    ref("bmpsuite/q/pal8os2v2-sz.bmp", "bmpsuite/g/pal8.bmp", "ImageMagick refuses");
    ref("bmpsuite/q/pal8os2v2-40sz.bmp", "bmpsuite/g/pal8.bmp", "ImageMagick refuses");
    ref("bmpsuite/q/pal8os2-hs.bmp", "bmpsuite/g/pal8.bmp", "ImageMagick refuses");
    ref("bmpsuite/q/pal8os2-sz.bmp", "bmpsuite/g/pal8.bmp", "ImageMagick refuses");
    ref("image-rs/good/pal8os2-hs.bmp", "image-rs/reference/pal8os2-hs.bmp.png", "ImageMagick refuses");
    ref("image-rs/good/pal8os2-sz.bmp", "image-rs/reference/pal8os2-sz.bmp.png", "ImageMagick refuses");
    ref("bmpsuite/b/pal8badindex.bmp", "image-rs/reference/pal8badindex.bmp.png", "indices past the table are black");
    ref("image-rs/good/pal8badindex.bmp", "image-rs/reference/pal8badindex.bmp.png", "indices past the table are black");
    ref("dotnet/almogaver32bits.bmp", "dotnet/almogaver24bits.bmp", "ImageMagick refuses; same photo at 24 bits");
    ref("image-rs/good/V5_24_Bit.bmp", "image-rs/reference/V5_24_Bit.bmp.png", "ImageMagick refuses");
    // Channel widths other than 5, 6 and 8: we repeat the channel's bits over 8 (full range,
    // as the image-rs renderings); ImageMagick shifts them.
    ref("bmpsuite/q/rgb16-231.bmp", "bmpsuite/reference/rgb16-231.png", "2-3-1 masks");
    ref("image-rs/good/rgb16-231.bmp", "bmpsuite/reference/rgb16-231.png", "2-3-1 masks");
    for (const char* f : {"V3_A4_R4_G4_B4.bmp", "V3_A4_R4_G4_B4_Top_Down.bmp", "V3_X4_R4_G4_B4.bmp", "V3_X4_R4_G4_B4_Top_Down.bmp"})
      ref(std::string("image-rs/good/") + f, std::string("image-rs/reference/") + f + ".png", "4-bit channels");
    for (const char* f : {"bmpsuite/q/rgb16-3103.bmp", "bmpsuite/q/rgb32-111110.bmp", "bmpsuite/q/rgb32-7187.bmp",
                          "bmpsuite/q/rgba16-1924.bmp", "bmpsuite/q/rgba16-4444.bmp", "bmpsuite/q/rgba32-1010102.bmp",
                          "bmpsuite/q/rgba32-61754.bmp", "bmpsuite/q/rgba32-81284.bmp", "image-rs/good/rgb32-111110.bmp",
                          "image-rs/good/rgba16-1924.bmp", "image-rs/good/rgba32-61754.bmp"})
      loads(f, "odd channel widths: no two renderers agree");
    // The pixel data is read from where the colour table ends, not from the header's offset.
    loads("bmpsuite/q/pal8offs.bmp", "offset past a gap: read from the end of the table");
    loads("bmpsuite/q/pal8os2sp.bmp", "short table before the offset: read from the end of a full table");
    loads("image-rs/good/pal8os2sp.bmp", "short table before the offset: read from the end of a full table");
    // Damaged run-length data: we cut runs at the edge and stop at the top row.
    for (const char* f : {"bmpsuite/b/badrle.bmp", "bmpsuite/b/badrlebis.bmp", "bmpsuite/b/badrleter.bmp",
                          "bmpsuite/b/badrle4.bmp", "bmpsuite/b/badrle4bis.bmp", "bmpsuite/b/badrle4ter.bmp",
                          "image-rs/good/lenient/badrle.bmp", "image-rs/good/lenient/rle_overflow.bmp",
                          "image-rs/bad/Bad_unusual_extend_buffer_usage.bmp"})
      loads(f, "damaged run-length data");
    // Short or inconsistent files that ImageMagick refuses; missing rows are zero.
    for (const char* f : {"bmpsuite/b/badfilesize.bmp", "bmpsuite/b/shortfile.bmp", "image-rs/bad/Bad_shortfile.bmp",
                          "pillow/mmap_error.bmp"})
      loads(f, "ImageMagick refuses");
    return r;
  }();
  return rules;
}

std::vector<std::string> SampleFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  if (!fs::is_directory(kBmpData, ec)) return files;
  for (const auto& e : fs::recursive_directory_iterator(kBmpData, ec))
    if (e.is_regular_file() && e.path().extension() == ".bmp") files.push_back(fs::relative(e.path(), kBmpData).string());
  std::sort(files.begin(), files.end());
  return files;
}

// The catalogue's pixel size of a sample ("127x64").
std::string CatalogSize(const std::string& rel) {
  std::ifstream in(fs::path(MIRELUNE_TESTDATA) / "CATALOG.tsv");
  std::string line;
  const std::string key = "bmp/" + rel + "\t";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) != 0) continue;
    size_t at = 0;
    for (int field = 0; field < 4; ++field) at = line.find('\t', at) + 1;
    return line.substr(at, line.find('\t', at) - at);
  }
  return {};
}

// A picture decoded by ImageMagick: r, g, b per pixel (alpha dropped); none when it refuses.
std::optional<std::vector<uint8_t>> ImageMagickRgb(const fs::path& file) {
  const std::string cmd = "convert '" + file.string() + "' -alpha off -depth 8 rgb:- 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return std::nullopt;
  std::vector<uint8_t> out;
  uint8_t buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.insert(out.end(), buf, buf + n);
  if (pclose(p) != 0) return std::nullopt;
  return out;
}

std::string FirstDifference(const std::vector<uint8_t>& ours, const std::vector<uint8_t>& theirs, int32_t width) {
  if (ours.size() != theirs.size()) return "sizes differ: " + std::to_string(ours.size()) + " / " + std::to_string(theirs.size());
  size_t count = 0, first = ours.size();
  for (size_t i = 0; i + 2 < ours.size(); i += 3)
    if (std::memcmp(&ours[i], &theirs[i], 3) != 0) {
      if (first == ours.size()) first = i;
      ++count;
    }
  if (count == 0) return {};
  char text[160];
  const size_t px = first / 3;
  std::snprintf(text, sizeof text, "%zu pixels differ; first at %zu,%zu: ours %02x%02x%02x, theirs %02x%02x%02x", count,
                px % static_cast<size_t>(width), px / static_cast<size_t>(width), ours[first], ours[first + 1],
                ours[first + 2], theirs[first], theirs[first + 1], theirs[first + 2]);
  return text;
}

class BitmapSampleTest : public ::testing::TestWithParam<std::string> {};

TEST_P(BitmapSampleTest, MatchesItsOracle) {
  const std::string& rel = GetParam();
  const auto it = SampleRules().find(rel);
  const SampleRule rule = it != SampleRules().end() ? it->second : SampleRule{Oracle::ImageMagick, "", ""};
  TBitmap b;
  const Outcome o = TryLoad(b, ReadFile(kBmpData / rel));
  if (rule.oracle == Oracle::Refused) {
    EXPECT_EQ(o.kind, "EInvalidGraphic") << rule.why;
    EXPECT_EQ(o.text, "Image bitmap incorrecte") << rule.why;
    return;
  }
  ASSERT_EQ(o.kind, "") << o.text << " (" << rule.why << ")";
  ASSERT_FALSE(b.IsEmpty());
  const std::string size = CatalogSize(rel);
  if (!size.empty()) {
    EXPECT_EQ(std::to_string(b.Width()) + "x" + std::to_string(b.Height()), size);
  }
  if (rule.oracle == Oracle::LoadsOnly) return;
  std::optional<std::vector<uint8_t>> theirs;
  if (rule.oracle == Oracle::Reference) {
    const fs::path reference = kBmpData / rule.reference;
    if (reference.extension() == ".bmp") {  // a twin file, read by us
      TBitmap twin;
      Load(twin, ReadFile(reference));
      theirs = RenderRgb(twin);
    } else {
      theirs = ImageMagickRgb(reference);
    }
  } else {
    theirs = ImageMagickRgb(kBmpData / rel);
  }
  ASSERT_TRUE(theirs) << "no reference pixels: name the file in the table with the reason";
  const std::string diff = FirstDifference(RenderRgb(b), *theirs, b.Width());
  EXPECT_TRUE(diff.empty()) << diff << (rule.why.empty() ? "" : " (" + rule.why + ")");
}

TEST(BitmapSampleTest, LoadsThroughTheRegistryByExtension) {
  const fs::path file = kBmpData / "bmpsuite/g/rgb24.bmp";
  if (!fs::exists(file)) GTEST_SKIP() << "no test data";
  const fs::path copy = fs::temp_directory_path() / ("mirelune-bitmap-" + std::to_string(::getpid()) + ".BMP");
  fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
  TPicture picture;
  picture.LoadFile(copy.string());
  fs::remove(copy);
  ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 127);
  EXPECT_EQ(picture.Height(), 64);
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(BitmapSampleTest);
INSTANTIATE_TEST_SUITE_P(Files, BitmapSampleTest, ::testing::ValuesIn(SampleFiles()), [](const auto& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
});

}  // namespace
