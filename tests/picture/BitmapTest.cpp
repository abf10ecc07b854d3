// The bitmap: reading files, reshaping, row access and drawing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "BmpBuilder.h"
#include "picture/Bitmap.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/Raster.h"
#include "platform/rtl/Exceptions.h"

using bmptest::BmpSpec;
using bmptest::BuildBmp;
using gdi::RGB;

namespace {

constexpr gdi::COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

void Load(TBitmap& b, const std::vector<uint8_t>& bytes) {
  TMemoryStream s(bytes);
  b.LoadStream(s);
}

// A fresh 32-bit top-down surface with a canvas over it.
struct Surface {
  Surface(int32_t w, int32_t h, gdi::COLORREF fill) {
    gdi::DibHeader hd;
    hd.width = w;
    hd.height = -h;
    hd.bitCount = 32;
    dib = gdi::Dib::Create(hd);
    canvas = std::make_unique<gdi::TCanvas>(*dib);
    canvas->FillRect(Rect(0, 0, w, h), fill);
  }
  gdi::COLORREF At(int32_t x, int32_t y) const {
    uint32_t v;
    std::memcpy(&v, dib->PictureRow(y) + 4 * x, 4);
    return gdi::SurfaceColor(v);
  }
  std::unique_ptr<gdi::Dib> dib;
  std::unique_ptr<gdi::TCanvas> canvas;
};

// A 24-bit bitmap whose pixels come from a function of (x, y).
void Make24(TBitmap& b, int32_t w, int32_t h, const std::function<gdi::COLORREF(int32_t, int32_t)>& color) {
  b.SetPixelFormat(TPixelFormat::Bits24);
  b.SetWidth(w);
  b.SetHeight(h);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = b.ScanRow(y);
    for (int32_t x = 0; x < w; ++x) {
      const gdi::COLORREF c = color(x, y);
      row[3 * x] = gdi::GetBValue(c);
      row[3 * x + 1] = gdi::GetGValue(c);
      row[3 * x + 2] = gdi::GetRValue(c);
    }
  }
}

template <class E>
void ExpectRaises(const std::function<void()>& f, const std::string& text) {
  try {
    f();
    ADD_FAILURE() << "nothing raised; expected " << text;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), text);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what();
  }
}

// ---- Row access -------------------------------------------------------------------------

struct StrideCase {
  TPixelFormat format;
  int32_t width;
  ptrdiff_t stride;
};
class StrideTest : public ::testing::TestWithParam<StrideCase> {};

TEST_P(StrideTest, RowsArePaddedToFourBytes) {
  TBitmap b;
  b.SetPixelFormat(GetParam().format);
  b.SetWidth(GetParam().width);
  b.SetHeight(2);
  EXPECT_EQ(b.ScanRow(0) - b.ScanRow(1), GetParam().stride);
  EXPECT_EQ(b.Store()->Stride(), static_cast<size_t>(GetParam().stride));
}

INSTANTIATE_TEST_SUITE_P(Formats, StrideTest,
                         ::testing::Values(StrideCase{TPixelFormat::Bits24, 1000, 3000}, StrideCase{TPixelFormat::Bits24, 3, 12},
                                           StrideCase{TPixelFormat::Bits1, 33, 8}, StrideCase{TPixelFormat::Bits4, 9, 8},
                                           StrideCase{TPixelFormat::Bits8, 5, 8}, StrideCase{TPixelFormat::Bits16, 3, 8},
                                           StrideCase{TPixelFormat::Bits32, 3, 12}));

TEST(ScanRowTest, BottomUpRowZeroIsTheLastStoredRow) {
  TBitmap b;
  b.SetPixelFormat(TPixelFormat::Bits24);
  b.SetWidth(10);
  b.SetHeight(100);
  const gdi::Dib* s = b.Store();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(b.ScanRow(0), s->Bits() + 99 * s->Stride());
  EXPECT_EQ(b.ScanRow(99), s->Bits());
  ExpectRaises<EInvalidGraphicOperation>([&] { b.ScanRow(100); }, "Indice ligne hors limites");
  ExpectRaises<EInvalidGraphicOperation>([&] { b.ScanRow(-1); }, "Indice ligne hors limites");
}

TEST(ScanRowTest, TopDownFileRowZeroIsTheFirstStoredRow) {
  TBitmap b;
  BmpSpec s;
  s.height = -2;
  s.pixels = {0, 0, 255, 0, 0, 255, 0, 0, /*row 2*/ 255, 0, 0, 255, 0, 0, 0, 0};
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.ScanRow(0), b.Store()->Bits());
  EXPECT_EQ(b.Store()->PixelColor(0, 0), kRed);
  EXPECT_EQ(b.Store()->PixelColor(0, 1), kBlue);
}

TEST(ScanRowTest, EmptyBitmapHasNoRows) {
  TBitmap b;
  ExpectRaises<EInvalidGraphicOperation>([&] { b.ScanRow(0); }, "Indice ligne hors limites");
}

// ---- Pixel formats ----------------------------------------------------------------------

struct FormatCase {
  uint16_t bits;
  uint32_t compression;
  std::vector<uint32_t> masks;
  TPixelFormat expected;
};
class FormatReadTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatReadTest, FileDescriptionGivesFormat) {
  const FormatCase& c = GetParam();
  BmpSpec s;
  s.bitCount = c.bits;
  s.compression = c.compression;
  s.masks = c.masks;
  if (c.bits <= 8) s.colors.assign(size_t{1} << c.bits, 0x808080);
  s.pixels.assign(64, 0);
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, FormatReadTest,
    ::testing::Values(FormatCase{1, 0, {}, TPixelFormat::Bits1}, FormatCase{4, 0, {}, TPixelFormat::Bits4},
                      FormatCase{8, 0, {}, TPixelFormat::Bits8}, FormatCase{16, 0, {}, TPixelFormat::Bits15},
                      FormatCase{16, 3, {0xF800, 0x07E0, 0x001F}, TPixelFormat::Bits16},
                      FormatCase{16, 3, {0x7C00, 0x03E0, 0x001F}, TPixelFormat::Custom},
                      FormatCase{24, 0, {}, TPixelFormat::Bits24}, FormatCase{32, 0, {}, TPixelFormat::Bits32},
                      FormatCase{32, 3, {0xFF0000, 0xFF00, 0xFF}, TPixelFormat::Custom}));

TEST(FormatTest, EmptyAndCompressedReadDevice) {
  TBitmap b;
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Device);
  BmpSpec s;
  s.bitCount = 8;
  s.compression = 1;  // run-length encoded
  s.clrUsed = 2;
  s.colors = {0xFF0000, 0x00FF00};
  s.pixels = {2, 1, 0, 0, 2, 0, 0, 1};
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Device);
}

class FormatWriteTest : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(FormatWriteTest, SetFormatReadsBackAndMakesThatStore) {
  TBitmap b;
  b.SetPixelFormat(GetParam());
  b.SetWidth(3);
  b.SetHeight(2);
  EXPECT_EQ(b.PixelFormat(), GetParam());
  ASSERT_NE(b.Store(), nullptr);
  // A fresh store is white in every format.
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(b.Store()->PixelColor(x, y), gdi::kWhite) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatWriteTest,
                         ::testing::Values(TPixelFormat::Bits1, TPixelFormat::Bits4, TPixelFormat::Bits8,
                                           TPixelFormat::Bits15, TPixelFormat::Bits16, TPixelFormat::Bits24,
                                           TPixelFormat::Bits32));

TEST(FormatTest, CustomIsRefused) {
  TBitmap b;
  ExpectRaises<EInvalidGraphic>([&] { b.SetPixelFormat(TPixelFormat::Custom); }, "Format de pixel incorrect");
}

TEST(FormatTest, DescriptionSurvivesWithoutPixels) {
  TBitmap b;
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.SetPixelFormat(TPixelFormat::Bits16);
  b.SetWidth(7);
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(b.Store(), nullptr);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bits16);
  b.SetHeight(5);
  ASSERT_NE(b.Store(), nullptr);
  EXPECT_EQ(b.Store()->Header().greenMask, 0x07E0u);
  EXPECT_EQ(b.Width(), 7);
  EXPECT_EQ(changes, 3);
  b.SetHeight(5);  // same value: nothing
  EXPECT_EQ(changes, 3);
}

// ---- Reshaping --------------------------------------------------------------------------

TEST(ReshapeTest, GrowingKeepsOldPixelsInTheTopLeftCornerAndFillsWhite) {
  TBitmap b;
  Make24(b, 3, 2, [](int32_t x, int32_t y) { return RGB(static_cast<uint8_t>(10 * x), static_cast<uint8_t>(10 * y), 7); });
  b.SetWidth(5);
  b.SetHeight(4);
  const gdi::Dib* s = b.Store();
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const gdi::COLORREF want =
          (x < 3 && y < 2) ? RGB(static_cast<uint8_t>(10 * x), static_cast<uint8_t>(10 * y), 7) : gdi::kWhite;
      EXPECT_EQ(s->PixelColor(x, y), want) << x << "," << y;
    }
}

TEST(ReshapeTest, ShrinkingAndFormatChangesKeepTheCorner) {
  TBitmap b;
  Make24(b, 4, 4, [](int32_t x, int32_t y) { return (x + y) % 2 ? kRed : kBlue; });
  b.SetHeight(2);
  b.SetPixelFormat(TPixelFormat::Bits8);  // red and blue are in the halftone palette
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bits8);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(b.Store()->PixelColor(x, y), (x + y) % 2 ? kRed : kBlue);
  b.SetPixelFormat(TPixelFormat::Bits15);
  EXPECT_EQ(b.Store()->PixelColor(1, 0), kRed);
  EXPECT_EQ(b.Store()->PixelColor(0, 0), kBlue);
}

TEST(ReshapeTest, PaletteWriteMapsAFreshStoreToTheNewPalettesWhite) {
  // The JPEG decoder's order: format, width, height, palette, then rows.
  TBitmap b;
  b.SetPixelFormat(TPixelFormat::Bits8);
  b.SetWidth(4);
  b.SetHeight(3);
  std::vector<gdi::PaletteEntry> entries{{0, 0, 0, 0}, {250, 250, 250, 0}, {255, 0, 0, 0}};
  auto pal = gdi::CreatePalette(entries);
  b.SetPalette(pal);
  EXPECT_EQ(b.Palette(), pal);
  EXPECT_TRUE(b.PaletteDirty());
  ASSERT_EQ(b.Store()->Colors().size(), 3u);
  for (int32_t y = 0; y < 3; ++y) {
    const uint8_t* row = b.ScanRow(y);
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(row[x], 1) << x << "," << y;  // nearest to white
  }
  b.ScanRow(0)[0] = 2;
  auto pal2 = gdi::CreatePalette({{255, 0, 0, 0}, {255, 255, 255, 0}});
  b.SetPalette(pal2);  // written pixels are mapped by colour
  EXPECT_EQ(b.Store()->PixelColor(0, 0), kRed);
  EXPECT_EQ(b.Store()->PixelColor(1, 0), gdi::kWhite);
}

TEST(ReshapeTest, BitmapWithoutDescriptionGrowsAScreenStore) {
  TBitmap b;
  b.SetWidth(2);
  b.SetHeight(2);
  ASSERT_NE(b.Store(), nullptr);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Device);
  EXPECT_EQ(b.Store()->PixelColor(1, 1), gdi::kWhite);
  b.ScanRow(0);  // addressing rows makes the store device-independent
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bits32);
}

TEST(ReshapeTest, ClearKeepsThePaletteAndNotifiesOnlyWhenThereWerePixels) {
  TBitmap b;
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Clear();
  EXPECT_EQ(changes, 0);
  b.SetPixelFormat(TPixelFormat::Bits8);
  b.SetWidth(2);
  b.SetHeight(2);
  const auto pal = b.Palette();
  ASSERT_NE(pal, nullptr);
  changes = 0;
  b.Clear();
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Device);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Palette(), pal);
}

TEST(ReshapeTest, CopyAndStoredFormRoundTrip) {
  TBitmap a;
  Make24(a, 5, 3, [](int32_t x, int32_t y) { return RGB(static_cast<uint8_t>(40 * x), static_cast<uint8_t>(60 * y), 9); });
  TMemoryStream stored;
  a.WriteStoredData(stored);
  stored.SetPosition(0);
  TBitmap b;
  b.ReadStoredData(stored);
  TBitmap c;
  c.CopyFrom(a);
  for (TBitmap* t : {&b, &c}) {
    ASSERT_EQ(t->Width(), 5);
    ASSERT_EQ(t->Height(), 3);
    EXPECT_EQ(t->PixelFormat(), TPixelFormat::Bits24);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(t->Store()->PixelColor(x, y), a.Store()->PixelColor(x, y));
  }
  EXPECT_TRUE(a.SameAs(&b));
}

TEST(ReshapeTest, StoredFormCountLargerThanTheStreamIsAReadError) {
  TMemoryStream s(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 'B', 'M'});
  TBitmap b;
  ExpectRaises<EReadError>([&] { b.ReadStoredData(s); }, "Erreur de lecture du flux");
}

TEST(ReshapeTest, PaletteOnDemand) {
  TBitmap b;
  BmpSpec s;
  s.bitCount = 1;
  s.colors = {0x000000, 0xFF8000};
  s.pixels.assign(8, 0);
  Load(b, BuildBmp(s));
  auto pal = b.Palette();
  ASSERT_NE(pal, nullptr);
  ASSERT_EQ(pal->Size(), 2u);
  EXPECT_EQ(pal->Entries()[1], (gdi::PaletteEntry{255, 128, 0, 0}));
  TBitmap c;  // true-colour image on a true-colour screen: no palette, and none tried again
  Make24(c, 2, 2, [](int32_t, int32_t) { return kRed; });
  EXPECT_EQ(c.Palette(), nullptr);
  c.SetPixelFormat(TPixelFormat::Bits8);
  EXPECT_NE(c.Palette(), nullptr);  // the format change brought its own palette
}

TEST(ReshapeTest, DeviceFormatKeepsThePixelsInAScreenStore) {
  TBitmap b;
  Make24(b, 2, 1, [](int32_t x, int32_t) { return x ? kRed : kBlue; });
  b.SetPixelFormat(TPixelFormat::Device);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Device);
  EXPECT_EQ(b.Store()->BitCount(), 32);
  EXPECT_EQ(b.Store()->PixelColor(0, 0), kBlue);
  EXPECT_EQ(b.Store()->PixelColor(1, 0), kRed);
}

// A true-colour picture on a 256-colour screen: halftone palette, selected while drawing.
TEST(ReshapeTest, PaletteScreenGetsAHalftonePalette) {
  gdi::SetScreenBitsPerPixel(8);
  TBitmap b;
  Make24(b, 2, 2, [](int32_t, int32_t) { return kRed; });
  const auto pal = b.Palette();
  gdi::SetScreenBitsPerPixel(0);
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(pal->Size(), 256u);
  gdi::DibHeader h;
  h.width = 1;
  h.height = -1;
  h.bitCount = 32;
  auto surface = gdi::Dib::Create(h);
  gdi::TCanvas canvas(*surface);
  const auto before = gdi::CreatePalette({{1, 2, 3, 0}});
  canvas.SelectedPalette = before;
  b.Render(canvas, Rect(0, 0, 1, 1));
  EXPECT_EQ(canvas.SelectedPalette, before);  // put back after drawing
}

// ---- Drawing ----------------------------------------------------------------------------

TEST(RenderTest, OwnSizeCopiesEveryPixel) {
  TBitmap b;
  Make24(b, 3, 2, [](int32_t x, int32_t y) { return RGB(static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 90), 3); });
  Surface s(6, 4, gdi::kButtonFace);
  b.Render(*s.canvas, Rect(1, 1, 4, 3));
  EXPECT_EQ(s.At(0, 0), gdi::kButtonFace);
  EXPECT_EQ(s.At(4, 1), gdi::kButtonFace);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x)
      EXPECT_EQ(s.At(x + 1, y + 1), RGB(static_cast<uint8_t>(x * 50), static_cast<uint8_t>(y * 90), 3));
}

TEST(RenderTest, ShrinkingOnATrueColourScreenDropsRowsAndColumns) {
  // Every 2x2 block holds four different colours; a shrunk pixel must be one of them.
  TBitmap b;
  Make24(b, 8, 8, [](int32_t x, int32_t y) { return RGB(static_cast<uint8_t>(30 * x), static_cast<uint8_t>(30 * y), 0); });
  Surface s(4, 4, kGreen);
  b.Render(*s.canvas, Rect(0, 0, 4, 4));
  EXPECT_EQ(s.canvas->StretchBltMode, gdi::COLORONCOLOR);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      const gdi::COLORREF c = s.At(x, y);
      const int sx = gdi::GetRValue(c) / 30, sy = gdi::GetGValue(c) / 30;
      EXPECT_EQ(c, RGB(static_cast<uint8_t>(30 * sx), static_cast<uint8_t>(30 * sy), 0)) << "not a source pixel";
      EXPECT_TRUE(sx / 2 == x && sy / 2 == y) << x << "," << y << " from " << sx << "," << sy;
    }
}

TEST(RenderTest, ShrinkingOnAPaletteScreenHalftones) {
  TBitmap b;
  Make24(b, 2, 2, [](int32_t x, int32_t) { return x ? RGB(200, 100, 0) : RGB(0, 0, 100); });
  Surface s(1, 1, kGreen);
  s.canvas->SetBitsPerPixel(8);
  b.Render(*s.canvas, Rect(0, 0, 1, 1));
  EXPECT_EQ(s.canvas->StretchBltMode, gdi::HALFTONE);
  EXPECT_EQ(s.At(0, 0), RGB(100, 50, 50));
}

TEST(RenderTest, EnlargingRepeatsPixels) {
  TBitmap b;
  Make24(b, 2, 1, [](int32_t x, int32_t) { return x ? kRed : kBlue; });
  Surface s(4, 2, kGreen);
  b.Render(*s.canvas, Rect(0, 0, 4, 2));
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(s.At(x, y), x < 2 ? kBlue : kRed);
}

TEST(RenderTest, CopyModeIsUsed) {
  TBitmap b;
  Make24(b, 1, 1, [](int32_t, int32_t) { return RGB(0x0F, 0xF0, 0x33); });
  Surface s(1, 1, RGB(0xFF, 0xFF, 0x0F));
  s.canvas->CopyMode = gdi::SRCAND;
  b.Render(*s.canvas, Rect(0, 0, 1, 1));
  EXPECT_EQ(s.At(0, 0), RGB(0x0F, 0xF0, 0x03));
}

// A 40x40 picture: blue where (x + y) % 3 == 0 (the bottom-left pixel is blue), red elsewhere.
class TransparentTest : public ::testing::TestWithParam<int> {};

TEST_P(TransparentTest, BluePixelsShowTheBackground) {
  const int scale = GetParam();  // 1: masked copy at the image's size; 2: the four-step path
  TBitmap b;
  Make24(b, 40, 40, [](int32_t x, int32_t y) { return (x + 39 - y) % 3 == 0 ? kBlue : kRed; });
  ASSERT_EQ(b.Store()->PixelColor(0, 39), kBlue);
  EXPECT_EQ(b.TransparentColor(), kBlue | 0x02000000u);
  b.SetTransparent(true);
  Surface s(40 * scale, 40 * scale, kGreen);
  b.Render(*s.canvas, Rect(0, 0, 40 * scale, 40 * scale));
  int shown = 0, kept = 0;
  for (int32_t y = 0; y < 40 * scale; ++y)
    for (int32_t x = 0; x < 40 * scale; ++x) {
      const bool blue = (x / scale + 39 - y / scale) % 3 == 0;
      EXPECT_EQ(s.At(x, y), blue ? kGreen : kRed) << x << "," << y;
      (blue ? kept : shown)++;
    }
  EXPECT_GT(kept, 0);
  EXPECT_GT(shown, 0);
  EXPECT_EQ(s.canvas->TextColor, gdi::kBlack);
  EXPECT_EQ(s.canvas->BkColor, gdi::kWhite);
}

INSTANTIATE_TEST_SUITE_P(Paths, TransparentTest, ::testing::Values(1, 2));

TEST(TransparentTest, MaskFollowsChanges) {
  TBitmap b;
  Make24(b, 2, 1, [](int32_t x, int32_t) { return x ? kRed : kBlue; });
  b.SetTransparent(true);
  Surface s1(2, 1, kGreen), w1(4, 1, kGreen);
  b.Render(*s1.canvas, Rect(0, 0, 2, 1));
  b.Render(*w1.canvas, Rect(0, 0, 4, 1));  // scaled: the four-step path
  EXPECT_EQ(s1.At(0, 0), kGreen);
  EXPECT_EQ(s1.At(1, 0), kRed);
  EXPECT_EQ(w1.At(1, 0), kGreen);
  EXPECT_EQ(w1.At(2, 0), kRed);
  uint8_t* row = b.ScanRow(0);  // now red at the bottom-left
  row[0] = 0, row[1] = 0, row[2] = 255;  // no notification: written rows count as a change
  Surface s2(2, 1, kGreen), w2(4, 1, kGreen);
  b.Render(*s2.canvas, Rect(0, 0, 2, 1));
  b.Render(*w2.canvas, Rect(0, 0, 4, 1));
  EXPECT_EQ(s2.At(0, 0), kGreen);
  EXPECT_EQ(s2.At(1, 0), kGreen);
  EXPECT_EQ(w2.At(0, 0), kGreen);
  EXPECT_EQ(w2.At(3, 0), kGreen);
}

TEST(TransparentTest, MonochromeLeavesWhiteOut) {
  BmpSpec s;
  s.bitCount = 1;
  s.width = 2;
  s.height = 1;
  s.colors = {0x000000, 0xFFFFFF};
  s.pixels = {0x80, 0, 0, 0};  // white, black
  TBitmap b;
  Load(b, BuildBmp(s));
  EXPECT_EQ(b.TransparentColor(), gdi::kWhite);
  b.SetTransparent(true);
  Surface out(2, 1, kGreen);
  b.Render(*out.canvas, Rect(0, 0, 2, 1));
  EXPECT_EQ(out.At(0, 0), kGreen);
  EXPECT_EQ(out.At(1, 0), gdi::kBlack);
}

}  // namespace
