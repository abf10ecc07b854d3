// The metafile graphic: telling the formats apart, the headers' checks, the size, the
// palette and drawing into a rectangle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "picture/Metafile.h"
#include "picture/Picture.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/rtl/Exceptions.h"
#include "tests/picture/IconBuilder.h"
#include "tests/picture/MetafileBuilder.h"

namespace {

using namespace metatest;

std::unique_ptr<TMetafile> Load(const std::vector<uint8_t>& bytes) {
  auto mf = std::make_unique<TMetafile>();
  TMemoryStream s(bytes);
  mf->LoadStream(s);
  return mf;
}

template <typename E>
std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

// A picture whose window is filled with one colour, edge to edge.
std::vector<uint8_t> FilledWindow(int w, int h, uint32_t color) {
  return Wmf()
      .WindowOrg(0, 0)
      .WindowExt(w, h)
      .NullPen()
      .Select(0)
      .SolidBrush(color)
      .Select(1)
      .Record(0x0324, {4, 0, 0, w, 0, w, h, 0, h})
      .Records();
}

// ---- Size.

struct SizeCase {
  const char* name;
  int16_t left, top, right, bottom;
  uint16_t unitsPerInch;
  int32_t mmWidth, mmHeight, width, height;
};

class MetafileSize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(MetafileSize, HundredthsOfAMillimetreAndPixels) {
  const SizeCase& c = GetParam();
  auto mf = Load(Placeable(c.left, c.top, c.right, c.bottom, c.unitsPerInch, FilledWindow(100, 100, 0)));
  EXPECT_EQ(mf->MMWidth(), c.mmWidth);
  EXPECT_EQ(mf->MMHeight(), c.mmHeight);
  EXPECT_EQ(mf->UnitsPerInch(), c.unitsPerInch);
  EXPECT_EQ(mf->Width(), c.width);
  EXPECT_EQ(mf->Height(), c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Placeable, MetafileSize,
    ::testing::Values(SizeCase{"InchAndHalfAnInch", 0, 0, 1440, 720, 1440, 2540, 1270, 96, 48},
                      SizeCase{"RoundedToNearest", 0, 0, 1, 2, 3, 847, 1693, 32, 64},
                      SizeCase{"OffsetBounds", -100, 50, 860, 530, 960, 2540, 1270, 96, 48},
                      SizeCase{"ReversedBounds", 100, 100, 0, 0, 1000, -254, -254, -10, -10},
                      // No units per inch: 96 for the size, and the pixels come from the handle.
                      SizeCase{"NoUnitsPerInch", 0, 0, 96, 48, 0, 2540, 1270, 96, 48}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

TEST(MetafileSize, PixelsFollowTheScreenResolution) {
  auto mf = Load(Placeable(0, 0, 1440, 720, 1440, FilledWindow(10, 10, 0)));
  gdi::SetScreenLogPixelsY(120);
  EXPECT_EQ(mf->Width(), 120);
  EXPECT_EQ(mf->Height(), 60);
  gdi::SetScreenLogPixelsY(96);
}

TEST(MetafileSize, EnhancedSizeIsTheFrameAndPixelsFollowTheReferenceDevice) {
  // 1000 pixels for 250 mm.
  auto mf = Load(Emf(5000, 2500, {}, 0, 1000, 800, 250, 200));
  EXPECT_EQ(mf->UnitsPerInch(), 0);
  EXPECT_EQ(mf->MMWidth(), 5000);
  EXPECT_EQ(mf->MMHeight(), 2500);
  EXPECT_EQ(mf->Width(), 200);
  EXPECT_EQ(mf->Height(), 100);
}

TEST(MetafileSize, HugeReferenceDeviceMillimetresDoNotOverflow) {
  auto mf = Load(Emf(5000, 2500, {}, 0, 1920, 1080, 0x40000000, 0x7FFFFFFF));
  EXPECT_EQ(mf->Width(), 0);
  EXPECT_EQ(mf->Height(), 0);
  auto none = Load(Emf(5000, 2500, {}, 0, 1920, 1080, 0, 0));
  EXPECT_EQ(none->Width(), -1);  // the system's answer to a division by 0
}

TEST(MetafileSize, EmptyMetafileHasNoSize) {
  TMetafile mf;
  EXPECT_TRUE(mf.IsEmpty());
  EXPECT_TRUE(mf.Transparent());
  EXPECT_EQ(mf.Width(), 0);
  EXPECT_EQ(mf.Height(), 0);
  EXPECT_EQ(mf.Palette(), nullptr);
}

// ---- What is refused.

struct RefusalCase {
  const char* name;
  std::function<std::vector<uint8_t>()> make;
  bool readError;  // EReadError rather than "MetaFichier incorrect"
};

class MetafileRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(MetafileRefusal, RaisesTheFormatsError) {
  const RefusalCase& c = GetParam();
  const auto bytes = c.make();
  TMetafile mf;
  int changes = 0;
  mf.OnChange = [&](TObject*) { ++changes; };
  if (c.readError) {
    EXPECT_EQ(MessageOf<EReadError>([&] {
                TMemoryStream s(bytes);
                mf.LoadStream(s);
              }),
              "Erreur de lecture du flux");
  } else {
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] {
                TMemoryStream s(bytes);
                mf.LoadStream(s);
              }),
              "MetaFichier incorrect");
  }
  EXPECT_TRUE(mf.IsEmpty());
  EXPECT_EQ(changes, 0);
}

std::vector<uint8_t> Flip(std::vector<uint8_t> b, size_t at, uint8_t bits) {
  b[at] ^= bits;
  return b;
}
std::vector<uint8_t> Put(std::vector<uint8_t> b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
  return b;
}

INSTANTIATE_TEST_SUITE_P(
    Refused, MetafileRefusal,
    ::testing::Values(
        RefusalCase{"ChecksumOffByOneBit", [] { return Flip(Placeable(0, 0, 10, 10, 96, FilledWindow(1, 1, 0)), 20, 1); },
                    false},
        RefusalCase{"BoundsChangedUnderTheChecksum",
                    [] { return Flip(Placeable(0, 0, 10, 10, 96, FilledWindow(1, 1, 0)), 10, 4); }, false},
        RefusalCase{"WrongKey", [] { return Flip(Placeable(0, 0, 10, 10, 96, FilledWindow(1, 1, 0)), 0, 1); }, false},
        RefusalCase{"NoPlaceableHeader", [] { return FilledWindow(10, 10, 0); }, false},
        RefusalCase{"Empty", [] { return std::vector<uint8_t>{}; }, false},
        RefusalCase{"ShorterThanThePlaceableHeader",
                    [] {
                      auto b = Placeable(0, 0, 10, 10, 96, {});
                      b.resize(21);
                      return b;
                    },
                    false},
        RefusalCase{"PlaceableHeaderAlone", [] { return Placeable(0, 0, 10, 10, 96, {}); }, false},
        RefusalCase{"RecordsWithABadHeader",
                    [] {
                      auto records = FilledWindow(1, 1, 0);
                      records[2] = 7;  // header size in words
                      return Placeable(0, 0, 10, 10, 96, records);
                    },
                    false},
        RefusalCase{"EnhancedOfExactly100Bytes",
                    [] {
                      auto b = Emf(100, 100);
                      b.resize(100);
                      return Put(b, 48, 100);
                    },
                    false},
        RefusalCase{"EnhancedTotalBelowItsHeader", [] { return Put(Emf(100, 100), 48, 60); }, false},
        RefusalCase{"EnhancedHeaderRecordTooSmall", [] { return Put(Emf(100, 100), 4, 40); }, false},
        RefusalCase{"EnhancedShorterThanItsTotal", [] { return Put(Emf(100, 100), 48, 4000); }, true},
        RefusalCase{"EnhancedTotalOfFourGigabytes", [] { return Put(Emf(100, 100), 48, 0xFFFFFFFF); }, true}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// ---- Telling the formats apart by content.

class MetafileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("mirelune-metafile-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(MetafileFiles, ContentNotExtensionDecides) {
  TPicture picture;
  picture.LoadFile(Write("enhanced.wmf", Emf(2540, 1270)));
  auto* mf = dynamic_cast<TMetafile*>(picture.Graphic());
  ASSERT_NE(mf, nullptr);
  EXPECT_EQ(mf->UnitsPerInch(), 0);
  EXPECT_EQ(mf->MMWidth(), 2540);

  picture.LoadFile(Write("windows.emf", Placeable(0, 0, 1440, 720, 1440, FilledWindow(10, 10, 0))));
  mf = dynamic_cast<TMetafile*>(picture.Graphic());
  ASSERT_NE(mf, nullptr);
  EXPECT_EQ(mf->UnitsPerInch(), 1440);
  EXPECT_EQ(mf->Width(), 96);
}

TEST(MetafileRead, BytesAfterTheEnhancedTotalAreIgnored) {
  auto bytes = Emf(2540, 1270);
  const size_t total = bytes.size();
  bytes.resize(total + 300, 0xEE);
  TMemoryStream s(bytes);
  TMetafile mf;
  mf.LoadStream(s);
  EXPECT_EQ(s.Position(), static_cast<int64_t>(total));
  EXPECT_FALSE(mf.IsEmpty());
}

TEST(MetafileRead, ReadsFromTheStreamPositionAndNotifiesOnce) {
  std::vector<uint8_t> bytes(7, 0x55);
  const auto file = Placeable(0, 0, 1440, 720, 1440, FilledWindow(10, 10, 0));
  bytes.insert(bytes.end(), file.begin(), file.end());
  TMemoryStream s(bytes);
  s.SetPosition(7);
  TMetafile mf;
  int changes = 0;
  mf.OnChange = [&](TObject*) { ++changes; };
  mf.LoadStream(s);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(mf.Width(), 96);
}

TEST(MetafileRead, AFailedReadKeepsThePictureBefore) {
  auto mf = Load(Placeable(0, 0, 1440, 720, 1440, FilledWindow(10, 10, 0)));
  TMemoryStream bad(Flip(Placeable(0, 0, 10, 10, 96, FilledWindow(1, 1, 0)), 20, 1));
  EXPECT_THROW(mf->LoadStream(bad), EInvalidGraphic);
  EXPECT_FALSE(mf->IsEmpty());
  EXPECT_EQ(mf->Width(), 96);
}

// ---- Palette.

TEST(MetafilePalette, AtMostTheFirst256EntriesAndThePaletteIsDirty) {
  auto mf = Load(Emf(100, 100, {}, 300));
  const gdi::HPALETTE palette = mf->Palette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(palette->Size(), 256u);
  const uint32_t last = 255u * 0x010203u;  // as the builder writes entry 255
  EXPECT_EQ(palette->Entries()[255], (gdi::PaletteEntry{uint8_t(last), uint8_t(last >> 8), uint8_t(last >> 16),
                                                        uint8_t(last >> 24)}));
  EXPECT_EQ(mf->Palette(), palette);  // made once
  EXPECT_TRUE(mf->PaletteDirty());
}

TEST(MetafilePalette, NoPaletteWithoutEntries) {
  auto mf = Load(Emf(100, 100));
  EXPECT_EQ(mf->Palette(), nullptr);
  EXPECT_FALSE(mf->PaletteDirty());
}

TEST(MetafilePalette, AWindowsMetafilesPaletteIsKept) {
  Wmf w;
  w.WindowExt(10, 10).Record(0x00F7, {0x300, 2, 0x0201, 0x0003, 0x0605, 0x0004});
  auto mf = Load(Placeable(0, 0, 10, 10, 96, w.Records()));
  ASSERT_NE(mf->Palette(), nullptr);
  EXPECT_EQ(mf->Palette()->Entries(),
            (std::vector<gdi::PaletteEntry>{{1, 2, 3, 0}, {5, 6, 4, 0}}));
}

// ---- Drawing.

TEST(MetafileDraw, CoversExactlyTheRectanglesPixels) {
  auto mf = Load(Placeable(0, 0, 100, 100, 96, FilledWindow(100, 100, 0x0000FF)));
  icontest::Surface s(60, 60, 0xFFFFFF);
  mf->Render(s.Canvas(), TRect{10, 20, 50, 40});
  EXPECT_EQ(s.At(10, 20), 0xFF0000u);
  EXPECT_EQ(s.At(49, 39), 0xFF0000u);
  EXPECT_EQ(s.At(50, 30), 0xFFFFFFu);
  EXPECT_EQ(s.At(30, 40), 0xFFFFFFu);
  EXPECT_EQ(s.At(9, 30), 0xFFFFFFu);
  EXPECT_EQ(s.At(30, 19), 0xFFFFFFu);
}

TEST(MetafileDraw, WindowOriginAndFlippedExtentLandInTheRectangle) {
  // A window from (1000, 500) going up: the upper half of the picture is y from 500 to 250.
  Wmf w;
  w.WindowOrg(1000, 500).WindowExt(400, -500).NullPen().Select(0).SolidBrush(0x00FF00).Select(1).Rectangle(1000, 501,
                                                                                                          1401, 250);
  auto mf = Load(Placeable(0, 0, 400, 500, 96, w.Records()));
  icontest::Surface s(40, 50, 0xFFFFFF);
  mf->Render(s.Canvas(), TRect{0, 0, 40, 50});
  EXPECT_EQ(s.At(20, 5), 0x00FF00u);
  EXPECT_EQ(s.At(20, 45), 0xFFFFFFu);
}

TEST(MetafileDraw, SelectsItsPaletteOnlyWhileDrawing) {
  auto mf = Load(Emf(100, 100, {}, 4));
  icontest::Surface s(10, 10, 0xFFFFFF);
  const gdi::HPALETTE before = gdi::CreatePalette({{1, 1, 1, 0}});
  s.Canvas().SelectedPalette = before;
  mf->Render(s.Canvas(), TRect{0, 0, 10, 10});
  EXPECT_EQ(s.Canvas().SelectedPalette, before);
}

}  // namespace

namespace {

// An opaque text record with no characters in an underlined font once crashed the player.
TEST(MetafilePlayback, EmptyUnderlinedOpaqueTextDrawsNothingAndDoesNotCrash) {
  TMetafile meta;
  meta.LoadFile(std::string(MIRELUNE_SOURCE_DIR) + "/tests/data/wmf/underlined-empty-opaque-text.wmf");
  gdi::DibHeader h;
  h.width = 200;
  h.height = -200;
  h.bitCount = 32;
  auto surface = gdi::Dib::Create(h);
  gdi::TCanvas canvas(*surface);
  EXPECT_NO_THROW(meta.Render(canvas, TRect{0, 0, 200, 200}));
}

}  // namespace
