// Decoding into the bitmap: formats, sizes, palettes, byte order, the held palette, the
// failure paths, four-component files, the shared sample files, and pixels equal to those
// of the bare library asked for the same thing.

#include <jerror.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "JpegTestSupport.h"
#include "jpeg/JpegErrors.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/rtl/Exceptions.h"

namespace {

bool GreyPalette(TBitmap& bitmap) {
  const auto entries = gdi::GetPaletteEntries(bitmap.Palette());
  if (entries.empty()) return false;
  for (const auto& e : entries)
    if (e.red != e.green || e.green != e.blue) return false;
  return true;
}

// Every pixel of an 8-bit bitmap indexes its palette.
void ExpectIndicesInPalette(TBitmap& bitmap) {
  const size_t n = gdi::GetPaletteEntries(bitmap.Palette()).size();
  ASSERT_GT(n, 0u);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanRow(y);
    for (int x = 0; x < bitmap.Width(); ++x) ASSERT_LT(row[x], n) << x << "," << y;
  }
}

// Mean absolute difference of two equal-sized 24-bit bitmaps, per byte.
double MeanDifference(TBitmap& a, TBitmap& b) {
  const auto ra = BitmapRows(a), rb = BitmapRows(b);
  if (ra.size() != rb.size() || ra.empty()) return 1e9;
  double sum = 0;
  for (size_t i = 0; i < ra.size(); ++i) sum += std::abs(int(ra[i]) - int(rb[i]));
  return sum / ra.size();
}

class DecodeTest : public JpegTest {};

TEST_F(DecodeTest, EighthScaleOf640x480Is80x60In24Bits) {
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  image->SetScale(TJPEGScale::jsEighth);
  TBitmap* bitmap = image->Bitmap();
  EXPECT_EQ(bitmap->Width(), 80);
  EXPECT_EQ(bitmap->Height(), 60);
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::Bits24);
}

TEST_F(DecodeTest, EightBitOutputHasAPaletteOfAtMost236Entries) {
  for (TJPEGPerformance performance : {TJPEGPerformance::jpBestQuality, TJPEGPerformance::jpBestSpeed}) {
    auto image = LoadImage(Fixture("colour-640x480.jpg"));
    image->SetPixelFormat(TJPEGPixelFormat::jf8Bit);
    image->SetPerformance(performance);
    image->SetPaletteDirty(false);
    TBitmap* bitmap = image->Bitmap();
    EXPECT_EQ(bitmap->Width(), 640);
    EXPECT_EQ(bitmap->Height(), 480);
    EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::Bits8);
    const size_t n = gdi::GetPaletteEntries(bitmap->Palette()).size();
    EXPECT_GT(n, 16u);
    EXPECT_LE(n, 236u);
    EXPECT_TRUE(image->PaletteDirty());
    ExpectIndicesInPalette(*bitmap);
  }
}

TEST_F(DecodeTest, GreyFileOrGreyOutputGivesAGreyPalette) {
  auto grey = LoadImage(Fixture("grey-64x48.jpg"));
  ASSERT_EQ(grey->PixelFormat(), TJPEGPixelFormat::jf24Bit);
  TBitmap* a = grey->Bitmap();
  EXPECT_EQ(a->PixelFormat(), TPixelFormat::Bits8);
  EXPECT_TRUE(GreyPalette(*a));
  EXPECT_EQ(gdi::GetPaletteEntries(a->Palette()).size(), 236u);

  auto colour = LoadImage(Fixture("colour-640x480.jpg"));
  colour->SetGreyOutput(true);
  TBitmap* b = colour->Bitmap();
  EXPECT_EQ(b->PixelFormat(), TPixelFormat::Bits8);
  EXPECT_TRUE(GreyPalette(*b));
  ExpectIndicesInPalette(*b);
}

TEST_F(DecodeTest, OneRowPicturesDecode) {
  struct Case {
    const char* file;
    TJPEGScale scale;
    int width;
  };
  for (const Case& c : {Case{"one-1x1.jpg", TJPEGScale::jsFullSize, 1}, Case{"one-1x1.jpg", TJPEGScale::jsEighth, 1},
                        Case{"strip-64x8.jpg", TJPEGScale::jsEighth, 8}}) {
    for (TJPEGPixelFormat format : {TJPEGPixelFormat::jf24Bit, TJPEGPixelFormat::jf8Bit}) {
      auto image = LoadImage(Fixture(c.file));
      image->SetScale(c.scale);
      image->SetPixelFormat(format);
      TBitmap* bitmap = nullptr;
      ASSERT_NO_THROW(bitmap = image->Bitmap()) << c.file;
      EXPECT_EQ(bitmap->Height(), 1) << c.file;
      EXPECT_EQ(bitmap->Width(), c.width) << c.file;
    }
  }
}

TEST_F(DecodeTest, TwentyFourBitPixelsAreBlueGreenRed) {
  auto image = LoadImage(Fixture("red-16x16.jpg"));
  TBitmap* bitmap = image->Bitmap();
  for (int y = 0; y < 16; ++y) {
    const uint8_t* row = bitmap->ScanRow(y);
    for (int x = 0; x < 16; ++x) {
      EXPECT_LT(row[3 * x], 16) << "blue first";
      EXPECT_LT(row[3 * x + 1], 16);
      EXPECT_GT(row[3 * x + 2], 240) << "red third";
    }
  }
  // The same order in an 8-bit palette.
  auto eight = LoadImage(Fixture("red-16x16.jpg"));
  eight->SetPixelFormat(TJPEGPixelFormat::jf8Bit);
  TBitmap* b8 = eight->Bitmap();
  const auto entries = gdi::GetPaletteEntries(b8->Palette());
  const auto& e = entries.at(b8->ScanRow(8)[8]);
  EXPECT_GT(e.red, 240);
  EXPECT_LT(e.blue, 16);
}

TEST_F(DecodeTest, RowsAreBottomUpWithTheFirstPictureRowAtScanRowZero) {
  // The gradient goes from orange-red at the top to blue at the bottom.
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  TBitmap* bitmap = image->Bitmap();
  const gdi::Dib* store = bitmap->Store();
  ASSERT_NE(store, nullptr);
  EXPECT_FALSE(store->TopDown());
  EXPECT_EQ(bitmap->ScanRow(0), store->Bits() + store->Stride() * 479);
  EXPECT_GT(bitmap->ScanRow(0)[2], bitmap->ScanRow(0)[0]) << "red at the top";
  EXPECT_GT(bitmap->ScanRow(479)[0], bitmap->ScanRow(479)[2]) << "blue at the bottom";
}

TEST_F(DecodeTest, DrawingTwiceDecodesOnceAndASettingChangeDecodesAgain) {
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  int decodings = 0;
  image->OnProgress = [&](TObject*, TProgressStage stage, uint8_t, bool, const TRect&, const std::string&) {
    decodings += stage == TProgressStage::Starting;
  };
  auto surface = gdi::Dib::Create(gdi::DibHeader{32, -24, 1, 32});
  gdi::TCanvas canvas(*surface);
  image->Render(canvas, TRect{0, 0, 32, 24});
  TBitmap* first = image->DecodedBitmap();
  image->Render(canvas, TRect{0, 0, 32, 24});
  EXPECT_EQ(decodings, 1);
  EXPECT_EQ(image->DecodedBitmap(), first);
  image->SetPerformance(TJPEGPerformance::jpBestSpeed);
  image->Render(canvas, TRect{0, 0, 32, 24});
  EXPECT_EQ(decodings, 2);
}

TEST_F(DecodeTest, HeldPaletteIsTheColourMapOfAn8BitDecoding) {
  for (bool progressive : {false, true}) {
    auto image = LoadImage(Fixture("colour-640x480-progressive.jpg"));
    image->SetPixelFormat(TJPEGPixelFormat::jf8Bit);
    image->SetProgressiveDisplay(progressive);
    const gdi::HPALETTE held = gdi::CreateHalftonePalette();
    image->SetPalette(held);
    image->SetPaletteDirty(false);
    TBitmap* bitmap = image->Bitmap();
    EXPECT_EQ(gdi::GetPaletteEntries(bitmap->Palette()), held->Entries()) << progressive;
    EXPECT_NE(bitmap->Palette(), held) << "a copy: the image keeps its own";
    EXPECT_EQ(image->HeldPalette(), held);
    EXPECT_FALSE(image->PaletteDirty()) << progressive;
    ExpectIndicesInPalette(*bitmap);

    // The pixels are the picture's colours in that palette.
    auto reference = LoadImage(Fixture("colour-640x480-progressive.jpg"));
    TBitmap* truth = reference->Bitmap();
    const auto entries = held->Entries();
    double sum = 0;
    for (int y = 0; y < 480; y += 7) {
      for (int x = 0; x < 640; x += 7) {
        const auto& e = entries[bitmap->ScanRow(y)[x]];
        const uint8_t* t = truth->ScanRow(y) + 3 * x;
        sum += std::abs(e.red - t[2]) + std::abs(e.green - t[1]) + std::abs(e.blue - t[0]);
      }
    }
    EXPECT_LT(sum / (69 * 92 * 3), 40.0) << progressive;
  }
}

TEST_F(DecodeTest, HeldPaletteIsDroppedBy24BitDecoding) {
  gdi::SetScreenBitsPerPixel(8);
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  ASSERT_NE(image->Palette(), nullptr);  // a halftone palette is now held
  TBitmap* bitmap = image->Bitmap();
  EXPECT_EQ(image->HeldPalette(), nullptr);
  EXPECT_EQ(image->Palette(), bitmap->Palette());
}

TEST_F(DecodeTest, HeldPaletteDoesNotReplaceTheGreyLevels) {
  auto image = LoadImage(Fixture("grey-64x48.jpg"));
  image->SetPixelFormat(TJPEGPixelFormat::jf8Bit);
  image->SetPalette(gdi::CreateHalftonePalette());
  TBitmap* bitmap = image->Bitmap();
  EXPECT_TRUE(GreyPalette(*bitmap));
  ExpectIndicesInPalette(*bitmap);
}

TEST_F(DecodeTest, InvalidLaterScanRaisesAtTheFirstDrawingOnly) {
  for (bool progressive : {false, true}) {
    auto image = LoadImage(Fixture("bad-later-scan.jpg"));
    EXPECT_TRUE(image->MultiScan());
    image->SetProgressiveDisplay(progressive);
    try {
      image->Bitmap();
      FAIL() << "no error";
    } catch (const EJPEG& e) {
      EXPECT_EQ(e.Code(), JERR_BAD_COMPONENT_ID);
    }
    TBitmap* bitmap = nullptr;
    EXPECT_NO_THROW(bitmap = image->Bitmap());
    ASSERT_NE(bitmap, nullptr);
    if (progressive) {
      // Pass by pass, the scans before the bad one were shown.
      EXPECT_EQ(bitmap->Width(), 640);
    }
  }
}

TEST_F(DecodeTest, EmptyFileRaisesAtTheFirstDrawingAndThenDrawsNothing) {
  TJPEGImage image;
  TMemoryStream empty;
  image.LoadStream(empty);
  auto surface = gdi::Dib::Create(gdi::DibHeader{8, -8, 1, 32});
  gdi::TCanvas canvas(*surface);
  EXPECT_THROW(image.Render(canvas, TRect{0, 0, 8, 8}), EJPEG);
  EXPECT_NO_THROW(image.Render(canvas, TRect{0, 0, 8, 8}));
  EXPECT_TRUE(image.DecodedBitmap()->IsEmpty());
}

TEST_F(DecodeTest, TruncatedFileDecodesWhatThereIsWithoutError) {
  auto image = LoadImage(Fixture("truncated-640x480.jpg"));
  TBitmap* bitmap = nullptr;
  ASSERT_NO_THROW(bitmap = image->Bitmap());
  EXPECT_EQ(bitmap->Width(), 640);
  EXPECT_EQ(bitmap->Height(), 480);
  // The top comes from the data, as in the complete file.
  auto full = LoadImage(Fixture("colour-640x480.jpg"));
  EXPECT_EQ(0, std::memcmp(bitmap->ScanRow(0), full->Bitmap()->ScanRow(0), 640 * 3));
}

TEST_F(DecodeTest, ABaselineFileWithProgressiveDisplayDecodesInOnePass) {
  auto plain = LoadImage(Fixture("colour-640x480.jpg"));
  auto shown = LoadImage(Fixture("colour-640x480.jpg"));
  shown->SetProgressiveDisplay(true);
  EXPECT_EQ(BitmapRows(*shown->Bitmap()), BitmapRows(*plain->Bitmap()));
}

TEST_F(DecodeTest, AFileOfMoreScansThanInterimPassesEndsWithTheWholePicture) {
  // A hundred scans: the interim passes stop before the last scans, which are still read.
  auto shown = LoadImage(Fixture("many-scans-96x64.jpg"));
  shown->SetProgressiveDisplay(true);
  auto plain = LoadImage(Fixture("many-scans-96x64.jpg"));
  EXPECT_EQ(BitmapRows(*shown->Bitmap()), BitmapRows(*plain->Bitmap()));
  EXPECT_EQ(shown->DecodedBitmap()->Width(), 96);
}

// Four-component files are converted, not refused.
TEST_F(DecodeTest, YcckFileLooksLikeItsRgbTwin) {
  REQUIRE_FILE(Sample("pillow/pil_sample_cmyk.jpg"));
  auto cmyk = LoadImage(Sample("pillow/pil_sample_cmyk.jpg"));
  auto rgb = LoadImage(Sample("pillow/pil_sample_rgb.jpg"));
  TBitmap* a = cmyk->Bitmap();
  EXPECT_EQ(a->PixelFormat(), TPixelFormat::Bits24);
  EXPECT_EQ(a->Width(), 100);
  EXPECT_LT(MeanDifference(*a, *rgb->Bitmap()), 12.0);
}

TEST_F(DecodeTest, CmykFilesDecodeInEveryOutput) {
  for (const char* file : {"jpegsuite/baseline/32x32x8_cmyk.jpg", "jpegsuite/progressive_huffman/32x32x8_cmyk.jpg",
                           "pillow/pil_sample_cmyk.jpg"}) {
    REQUIRE_FILE(Sample(file));
    for (bool progressive : {false, true}) {
      auto colour = LoadImage(Sample(file));
      colour->SetProgressiveDisplay(progressive);
      EXPECT_EQ(colour->Bitmap()->PixelFormat(), TPixelFormat::Bits24) << file;

      auto grey = LoadImage(Sample(file));
      grey->SetGreyOutput(true);
      grey->SetProgressiveDisplay(progressive);
      TBitmap* g = grey->Bitmap();
      EXPECT_EQ(g->PixelFormat(), TPixelFormat::Bits8) << file;
      EXPECT_TRUE(GreyPalette(*g)) << file;
      ExpectIndicesInPalette(*g);

      auto eight = LoadImage(Sample(file));
      eight->SetPixelFormat(TJPEGPixelFormat::jf8Bit);
      eight->SetProgressiveDisplay(progressive);
      TBitmap* e = eight->Bitmap();
      EXPECT_EQ(e->PixelFormat(), TPixelFormat::Bits8) << file;
      ExpectIndicesInPalette(*e);
      EXPECT_GT(e->Width(), 0) << file;
    }
  }
}

TEST_F(DecodeTest, ConvertedCmykMatchesImageMagicksRendering) {
  // Reference made with: convert 32x32x8_cmyk_interleaved.jpg -colorspace sRGB cmyk-32x32.ppm
  REQUIRE_FILE(Sample("jpegsuite/baseline/32x32x8_cmyk_interleaved.jpg"));
  const std::vector<uint8_t> ppm = ReadFileBytes(Fixture("cmyk-32x32.ppm"));
  ASSERT_GT(ppm.size(), 32u * 32 * 3);
  const uint8_t* ref = ppm.data() + ppm.size() - 32 * 32 * 3;
  auto image = LoadImage(Sample("jpegsuite/baseline/32x32x8_cmyk_interleaved.jpg"));
  TBitmap* bitmap = image->Bitmap();
  int worst = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      for (int c = 0; c < 3; ++c)
        worst = std::max(worst, std::abs(int(bitmap->ScanRow(y)[3 * x + 2 - c]) - int(ref[(y * 32 + x) * 3 + c])));
  EXPECT_LE(worst, 3);
}

// Every JPEG of the shared samples does what the catalogue says the library makes of it.
struct CatalogEntry {
  std::string path;
  std::string pixels;
  std::string probe;
};
std::vector<CatalogEntry> CatalogJpegs() {
  std::vector<CatalogEntry> out;
  std::ifstream in(std::string(MIRELUNE_TESTDATA) + "/CATALOG.tsv");
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> cols;
    std::stringstream ss(line);
    std::string col;
    while (std::getline(ss, col, '\t')) cols.push_back(col);
    if (cols.size() >= 7 && cols[2] == "JPEG" && cols[0].rfind("jpeg/", 0) == 0 &&
        std::stoll(cols[1]) < 1'000'000)
      out.push_back({cols[0], cols[4], cols[6]});
  }
  return out;
}

TEST_F(DecodeTest, SharedSamplesDecodeAsTheLibraryReadsThem) {
  const auto entries = CatalogJpegs();
  if (entries.empty()) GTEST_SKIP() << "no catalogue";
  int decoded = 0, refused = 0;
  for (const auto& e : entries) {
    const std::string path = std::string(MIRELUNE_TESTDATA) + "/" + e.path;
    SCOPED_TRACE(e.path + ": " + e.probe);
    const bool headerError = e.probe.rfind("ERROR at header", 0) == 0;
    const bool decodeError = e.probe.rfind("ERROR at decode", 0) == 0 &&
                             e.probe.find("Unsupported color conversion") == std::string::npos;
    auto image = std::make_unique<TJPEGImage>();
    if (headerError) {
      EXPECT_THROW(image->LoadFile(path), EJPEG);
      ++refused;
      continue;
    }
    try {
      image->LoadFile(path);
    } catch (const EJPEG&) {
      EXPECT_TRUE(decodeError) << "refused at load";
      ++refused;
      continue;
    }
    for (bool progressive : {false, true}) {
      image->SetProgressiveDisplay(progressive);
      image->SetScale(TJPEGScale::jsHalf);  // drops the bitmap
      image->SetScale(TJPEGScale::jsFullSize);
      if (decodeError) {
        EXPECT_THROW(image->Bitmap(), EJPEG);
        continue;
      }
      TBitmap* bitmap = nullptr;
      ASSERT_NO_THROW(bitmap = image->Bitmap());
      int w = 0, h = 0;
      ASSERT_EQ(std::sscanf(e.pixels.c_str(), "%dx%d", &w, &h), 2);
      EXPECT_EQ(bitmap->Width(), w);
      EXPECT_EQ(bitmap->Height(), h);
    }
    ++decoded;
  }
  EXPECT_GT(decoded, 100);
  EXPECT_GT(refused, 40);
}

TEST_F(DecodeTest, TwentyScanProgressivePhotoShowsPassByPass) {
  REQUIRE_FILE(Sample("corkami/20scans.jpg"));
  auto image = LoadImage(Sample("corkami/20scans.jpg"));
  image->SetScale(TJPEGScale::jsQuarter);
  image->SetProgressiveDisplay(true);
  TBitmap* shown = image->Bitmap();
  auto plain = LoadImage(Sample("corkami/20scans.jpg"));
  plain->SetScale(TJPEGScale::jsQuarter);
  EXPECT_EQ(shown->Width(), 486);
  EXPECT_EQ(shown->Height(), 627);
  EXPECT_EQ(BitmapRows(*shown), BitmapRows(*plain->Bitmap()));
}

// The same pixels as the bare library with the same parameters.
struct Mode {
  const char* name;
  TJPEGPixelFormat format;
  TJPEGPerformance performance;
  bool grey;
  BareParams bare;  // scale filled in by the test
};
const Mode kModes[] = {
    {"Colour24Quality", TJPEGPixelFormat::jf24Bit, TJPEGPerformance::jpBestQuality, false, {1, JDCT_FLOAT}},
    {"Colour24Speed", TJPEGPixelFormat::jf24Bit, TJPEGPerformance::jpBestSpeed, false,
     {1, JDCT_IFAST, false, false, false, JDITHER_ORDERED}},
    {"Colour8Quality", TJPEGPixelFormat::jf8Bit, TJPEGPerformance::jpBestQuality, false,
     {1, JDCT_FLOAT, false, true, true, JDITHER_FS}},
    {"Colour8Speed", TJPEGPixelFormat::jf8Bit, TJPEGPerformance::jpBestSpeed, false,
     {1, JDCT_IFAST, false, true, false, JDITHER_ORDERED}},
    {"GreyQuality", TJPEGPixelFormat::jf24Bit, TJPEGPerformance::jpBestQuality, true,
     {1, JDCT_FLOAT, true, true, true, JDITHER_FS}},
    {"GreySpeed", TJPEGPixelFormat::jf24Bit, TJPEGPerformance::jpBestSpeed, true,
     {1, JDCT_IFAST, true, true, false, JDITHER_ORDERED}},
};

using PixelCase = std::tuple<const char*, int, int, bool>;  // file, scale, mode, progressive display
class SameAsBareLibraryTest : public JpegTest, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(SameAsBareLibraryTest, PixelsAndPalette) {
  const auto [file, scale, modeIndex, progressive] = GetParam();
  const std::string path = std::string(file).find('/') == std::string::npos ? Fixture(file) : Sample(file);
  REQUIRE_FILE(path);
  const Mode& mode = kModes[modeIndex];
  BareParams params = mode.bare;
  params.scaleDenom = 1u << scale;
  const BareImage bare = BareDecode(ReadFileBytes(path), params);
  ASSERT_FALSE(bare.failed);

  auto image = LoadImage(path);
  image->SetScale(static_cast<TJPEGScale>(scale));
  image->SetPixelFormat(mode.format);
  image->SetPerformance(mode.performance);
  image->SetGreyOutput(mode.grey);
  image->SetProgressiveDisplay(progressive);
  TBitmap* bitmap = image->Bitmap();
  ASSERT_EQ(bitmap->Width(), bare.width);
  ASSERT_EQ(bitmap->Height(), bare.height);
  ASSERT_EQ(bitmap->PixelFormat(), bare.components == 1 ? TPixelFormat::Bits8 : TPixelFormat::Bits24);
  EXPECT_TRUE(BitmapRows(*bitmap) == bare.pixels);
  if (bare.components == 1) {
    EXPECT_EQ(PaletteBytes(*bitmap), bare.palette);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SameAsBareLibraryTest,
    ::testing::Combine(::testing::Values("colour-640x480.jpg", "colour-640x480-progressive.jpg"),
                       ::testing::Values(0, 1, 2, 3), ::testing::Range(0, 6), ::testing::Bool()),
    [](const auto& info) {
      std::string f = std::get<0>(info.param);
      f = f.substr(0, f.find('.'));
      for (char& c : f)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return f + "_1_" + std::to_string(1 << std::get<1>(info.param)) + "_" + kModes[std::get<2>(info.param)].name +
             (std::get<3>(info.param) ? "_PassByPass" : "");
    });

INSTANTIATE_TEST_SUITE_P(
    Samples, SameAsBareLibraryTest,
    ::testing::Combine(::testing::Values("libjpeg-turbo/testorig.jpg", "image-rs/good/progressive/cat.jpg",
                                         "pillow/hopper_gray.jpg", "jpegsuite/baseline/32x32x8_ycbcr_2x2_1x1_1x1.jpg"),
                       ::testing::Values(0, 3), ::testing::Range(0, 6), ::testing::Bool()),
    [](const auto& info) {
      std::string f = std::get<0>(info.param);
      f = f.substr(f.rfind('/') + 1);
      f = f.substr(0, f.find('.'));
      for (char& c : f)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return f + "_1_" + std::to_string(1 << std::get<1>(info.param)) + "_" + kModes[std::get<2>(info.param)].name +
             (std::get<3>(info.param) ? "_PassByPass" : "");
    });

}  // namespace
