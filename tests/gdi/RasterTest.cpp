// Raster operations: scaled and masked copies onto a canvas, stretch modes, raster
// operation codes, masks and store-to-store conversion.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/gdi/Raster.h"

using namespace gdi;

namespace {

std::unique_ptr<Dib> Store(int32_t w, int32_t h, int bits, std::vector<RGBQuad> colors = {}) {
  DibHeader hd;
  hd.width = w;
  hd.height = h;
  hd.bitCount = static_cast<uint16_t>(bits);
  return Dib::Create(hd, std::move(colors));
}

// A 24-bit source whose pixel (x, y) is RGB(x * 10, y * 10, 5).
std::unique_ptr<Dib> Gradient(int32_t w, int32_t h) {
  auto d = Store(w, h, 24);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = d->PictureRow(y) + 3 * x;
      p[0] = 5;
      p[1] = static_cast<uint8_t>(y * 10);
      p[2] = static_cast<uint8_t>(x * 10);
    }
  return d;
}

struct Target {
  Target(int32_t w, int32_t h, COLORREF fill) : dib(Store(w, -h, 32)), canvas(*dib) {
    canvas.FillRect(Rect(0, 0, w, h), fill);
  }
  COLORREF At(int32_t x, int32_t y) const {
    uint32_t v;
    std::memcpy(&v, dib->PictureRow(y) + 4 * x, 4);
    return SurfaceColor(v);
  }
  std::unique_ptr<Dib> dib;
  TCanvas canvas;
};

constexpr COLORREF kGrey = RGB(9, 9, 9);

// Every named operation against its boolean formula, through the generic path as well.
struct RopCase {
  uint32_t rop;
  std::function<uint32_t(uint32_t p, uint32_t s, uint32_t d)> formula;
};
class RopTest : public ::testing::TestWithParam<RopCase> {};

TEST_P(RopTest, MatchesItsFormula) {
  const uint32_t p = 0xF0F0F0F0u, s = 0xCCCCCCCCu, d = 0xAAAAAAAAu;
  const uint32_t want = GetParam().formula(p, s, d);
  EXPECT_EQ(ApplyRop3(GetParam().rop, p, s, d), want);
  // The same index byte with other low bits set goes the generic way.
  EXPECT_EQ(ApplyRop3(GetParam().rop ^ 0x1, p, s, d), want);
}

INSTANTIATE_TEST_SUITE_P(
    Named, RopTest,
    ::testing::Values(RopCase{SRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return s; }},
                      RopCase{SRCAND, [](uint32_t, uint32_t s, uint32_t d) { return s & d; }},
                      RopCase{SRCINVERT, [](uint32_t, uint32_t s, uint32_t d) { return s ^ d; }},
                      RopCase{SRCPAINT, [](uint32_t, uint32_t s, uint32_t d) { return s | d; }},
                      RopCase{SRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return s & ~d; }},
                      RopCase{NOTSRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return ~s; }},
                      RopCase{NOTSRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return ~(s | d); }},
                      RopCase{MERGECOPY, [](uint32_t p, uint32_t s, uint32_t) { return p & s; }},
                      RopCase{MERGEPAINT, [](uint32_t, uint32_t s, uint32_t d) { return ~s | d; }},
                      RopCase{PATCOPY, [](uint32_t p, uint32_t, uint32_t) { return p; }},
                      RopCase{PATINVERT, [](uint32_t p, uint32_t, uint32_t d) { return p ^ d; }},
                      RopCase{DSTINVERT, [](uint32_t, uint32_t, uint32_t d) { return ~d; }},
                      RopCase{DSTCOPY, [](uint32_t, uint32_t, uint32_t d) { return d; }},
                      RopCase{BLACKNESS, [](uint32_t, uint32_t, uint32_t) { return 0u; }},
                      RopCase{WHITENESS, [](uint32_t, uint32_t, uint32_t) { return 0xFFFFFFFFu; }}));

TEST(StretchBltTest, NegativeExtentsMirror) {
  auto src = Gradient(3, 2);
  Target t(3, 2, kGrey);
  t.canvas.StretchBltMode = COLORONCOLOR;
  StretchBlt(t.canvas, 3, 0, -3, 2, *src, 0, 0, 3, 2, SRCCOPY);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(t.At(x, y), RGB(static_cast<uint8_t>((2 - x) * 10), static_cast<uint8_t>(y * 10), 5));
  Target u(3, 2, kGrey);
  StretchBlt(u.canvas, 0, 0, 3, 2, *src, 0, 2, 3, -2, SRCCOPY);  // upside down
  EXPECT_EQ(u.At(0, 0), RGB(0, 10, 5));
  EXPECT_EQ(u.At(0, 1), RGB(0, 0, 5));
}

TEST(StretchBltTest, OriginClipAndSourceBoundsLimitWhatIsDrawn) {
  auto src = Gradient(4, 4);
  Target t(6, 6, kGrey);
  t.canvas.Origin = TPoint{1, 1};
  t.canvas.ClipRect = Rect(0, 0, 4, 6);
  StretchBlt(t.canvas, 0, 0, 6, 4, *src, 0, 0, 6, 4, SRCCOPY);  // source 2 columns too wide
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 6; ++x) {
      const bool drawn = x >= 1 && x < 4 && y >= 1 && y < 5;  // clip right at 4; source ends at column 3
      EXPECT_EQ(t.At(x, y), drawn ? RGB(static_cast<uint8_t>((x - 1) * 10), static_cast<uint8_t>((y - 1) * 10), 5) : kGrey)
          << x << "," << y;
    }
}

TEST(StretchBltTest, FarAwayRectanglesDrawNothingAndDoNotOverflow) {
  auto src = Gradient(2, 2);
  Target t(2, 2, kGrey);
  StretchBlt(t.canvas, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, *src, 0, 0, INT32_MAX, INT32_MAX, SRCCOPY);
  StretchBlt(t.canvas, 0, 0, 2, 2, *src, INT32_MIN, 0, INT32_MIN, 2, SRCCOPY);
  EXPECT_EQ(t.At(1, 1), kGrey);
}

struct ShrinkCase {
  int mode;
  COLORREF expected;  // of a 2 x 1 source (0x30, 0x0F, 0xF0) and (0x10, 0xF0, 0x30) shrunk to one pixel
};
class ShrinkModeTest : public ::testing::TestWithParam<ShrinkCase> {};

TEST_P(ShrinkModeTest, CombinesDroppedPixelsByMode) {
  auto src = Store(2, 1, 24);
  const uint8_t px[6] = {0xF0, 0x0F, 0x30, 0x30, 0xF0, 0x10};
  std::memcpy(src->PictureRow(0), px, 6);
  Target t(1, 1, kGrey);
  t.canvas.StretchBltMode = GetParam().mode;
  StretchBlt(t.canvas, 0, 0, 1, 1, *src, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(t.At(0, 0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, ShrinkModeTest,
                         ::testing::Values(ShrinkCase{COLORONCOLOR, RGB(0x10, 0xF0, 0x30)},  // the pixel sampled
                                           ShrinkCase{BLACKONWHITE, RGB(0x10, 0x00, 0x30)},  // AND
                                           ShrinkCase{WHITEONBLACK, RGB(0x30, 0xFF, 0xF0)},  // OR
                                           ShrinkCase{HALFTONE, RGB(0x20, 0x80, 0x90)}));    // average

TEST(StretchBltTest, PaletteSourcesUseTheirTablesAndOutOfTableIndicesAreBlack) {
  auto src = Store(9, 1, 1, {RGBQuad{0, 0, 255, 0}, RGBQuad{255, 0, 0, 0}});
  src->PictureRow(0)[0] = 0x5F;  // 0101 1111 | 0
  Target t(9, 1, kGrey);
  BitBlt(t.canvas, 0, 0, 9, 1, *src, 0, 0, SRCCOPY);
  EXPECT_EQ(t.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(t.At(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(t.At(8, 0), RGB(255, 0, 0));
  auto four = Store(3, 1, 4, {RGBQuad{1, 2, 3, 0}});
  four->PictureRow(0)[0] = 0x0F;
  Target u(3, 1, kGrey);
  BitBlt(u.canvas, 0, 0, 3, 1, *four, 0, 0, SRCCOPY);
  EXPECT_EQ(u.At(0, 0), RGB(3, 2, 1));
  EXPECT_EQ(u.At(1, 0), kBlack);
}

TEST(MaskBltTest, OneBitsTakeTheForegroundOperation) {
  auto src = Gradient(3, 1);
  auto mask = Store(3, 1, 1, {RGBQuad{0, 0, 0, 0}, RGBQuad{255, 255, 255, 0}});
  mask->PictureRow(0)[0] = 0x40;  // 010
  Target t(4, 1, kGrey);
  MaskBlt(t.canvas, 1, 0, 3, 1, *src, 0, 0, *mask, 0, 0, DSTCOPY, SRCCOPY);
  EXPECT_EQ(t.At(0, 0), kGrey);
  EXPECT_EQ(t.At(1, 0), RGB(0, 0, 5));
  EXPECT_EQ(t.At(2, 0), kGrey);
  EXPECT_EQ(t.At(3, 0), RGB(20, 0, 5));
}

TEST(MaskTest, ColourToMonochromeMarksTheBackgroundColour) {
  auto src = Gradient(3, 2);
  auto mask = ColorToMonochrome(*src, RGB(10, 10, 5) | 0x02000000u);
  ASSERT_NE(mask, nullptr);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(mask->PixelColor(x, y), (x == 1 && y == 1) ? kWhite : kBlack);
  // A monochrome source maps each table colour to the nearer of black and white.
  auto mono = Store(2, 1, 1, {RGBQuad{200, 200, 200, 0}, RGBQuad{10, 10, 100, 0}});
  mono->PictureRow(0)[0] = 0x40;  // index 0, then 1
  auto monoMask = ColorToMonochrome(*mono, kBlack);
  EXPECT_EQ(monoMask->PixelColor(0, 0), kWhite);
  EXPECT_EQ(monoMask->PixelColor(1, 0), kBlack);
}

struct ConvertCase {
  int bits;
  uint32_t compression;
  COLORREF in;
  COLORREF out;
};
class CopyPixelsTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(CopyPixelsTest, ConvertsToTheTargetFormatInTheCorner) {
  auto src = Store(2, 2, 24);
  src->Fill(GetParam().in);
  DibHeader hd;
  hd.width = 3;
  hd.height = 1;
  hd.bitCount = static_cast<uint16_t>(GetParam().bits);
  hd.compression = GetParam().compression;
  if (hd.compression == BI_BITFIELDS) {
    hd.redMask = 0xF800;
    hd.greenMask = 0x07E0;
    hd.blueMask = 0x001F;
  }
  std::vector<RGBQuad> table;
  if (GetParam().bits <= 8) table = {RGBQuad{255, 255, 255, 0}, RGBQuad{0, 0, 200, 0}, RGBQuad{0, 200, 0, 0}};
  auto dst = Dib::CreateFilled(hd, table, kWhite);
  CopyPixels(*dst, *src);
  EXPECT_EQ(dst->PixelColor(0, 0), GetParam().out);
  EXPECT_EQ(dst->PixelColor(1, 0), GetParam().out);
  EXPECT_EQ(dst->PixelColor(2, 0), kWhite);  // outside the overlap
}

INSTANTIATE_TEST_SUITE_P(Formats, CopyPixelsTest,
                         ::testing::Values(ConvertCase{1, BI_RGB, RGB(250, 0, 0), RGB(200, 0, 0)},
                                           ConvertCase{4, BI_RGB, RGB(0, 180, 20), RGB(0, 200, 0)},
                                           ConvertCase{8, BI_RGB, RGB(220, 10, 10), RGB(200, 0, 0)},
                                           ConvertCase{16, BI_RGB, RGB(255, 8, 0), RGB(255, 8, 0)},
                                           ConvertCase{16, BI_BITFIELDS, RGB(255, 4, 0), RGB(255, 4, 0)},
                                           ConvertCase{32, BI_RGB, RGB(1, 2, 3), RGB(1, 2, 3)}));

TEST(WidenChannelTest, RepeatsBitsAndKeepsTheTopOfWideChannels) {
  EXPECT_EQ(WidenChannel(0x1, 0x1), 0xFF);
  EXPECT_EQ(WidenChannel(0x2, 0x3), 0xAA);
  EXPECT_EQ(WidenChannel(0x03 << 5, 0x1F << 5), 0x18);  // 00011 -> 00011000
  EXPECT_EQ(WidenChannel(0x07 << 5, 0x1F << 5), 0x39);  // 00111 -> 00111001
  EXPECT_EQ(WidenChannel(0x3FF, 0x3FF), 0xFF);
  EXPECT_EQ(WidenChannel(0x200, 0x3FF), 0x80);
  EXPECT_EQ(WidenChannel(0x5, 0), 0);
}

}  // namespace
