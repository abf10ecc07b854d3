// The icon graphic: reading, the choice of an image, drawing and the size it reports.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "picture/Icon.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/IconHandle.h"
#include "platform/rtl/Exceptions.h"
#include "tests/picture/IconBuilder.h"

namespace {

using namespace icontest;

std::unique_ptr<TIcon> Load(const std::vector<uint8_t>& bytes) {
  auto icon = std::make_unique<TIcon>();
  TMemoryStream s(bytes);
  icon->LoadStream(s);
  return icon;
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

class ScreenBits {
 public:
  explicit ScreenBits(int bits) { gdi::SetScreenBitsPerPixel(bits); }
  ~ScreenBits() { gdi::SetScreenBitsPerPixel(0); }
};

// ---- Which image is drawn: each entry is filled with its own colour.

struct ChoiceCase {
  const char* name;
  std::vector<std::tuple<int, int, uint16_t>> entries;  // width, height, colour word
  int screenBits;
  size_t chosen;
};

class IconChoice : public ::testing::TestWithParam<ChoiceCase> {};

uint32_t EntryColor(size_t i) { return 0x102030u * static_cast<uint32_t>(i + 1); }

TEST_P(IconChoice, DrawsTheChosenEntryAndTakesItsSize) {
  const ChoiceCase& c = GetParam();
  ScreenBits bits(c.screenBits);
  std::vector<Entry> entries;
  for (size_t i = 0; i < c.entries.size(); ++i) {
    const auto [w, h, colors] = c.entries[i];
    entries.push_back(Solid(w, h, colors, EntryColor(i)));
  }
  auto icon = Load(File(1, entries));
  Surface s(64, 64, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 64, 64});
  EXPECT_EQ(s.At(0, 0), EntryColor(c.chosen));
  EXPECT_EQ(icon->Width(), std::get<0>(c.entries[c.chosen]));
  EXPECT_EQ(icon->Height(), std::get<1>(c.entries[c.chosen]));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, IconChoice,
    ::testing::Values(
        ChoiceCase{"NearestOfThree", {{16, 16, 16}, {32, 32, 16}, {48, 48, 16}}, 32, 1},
        ChoiceCase{"SmallerOfTwoEquallyFar", {{24, 24, 16}, {40, 40, 16}}, 32, 0},
        ChoiceCase{"SmallerOfTwoEquallyFarListedSecond", {{40, 40, 16}, {24, 24, 16}}, 32, 1},
        ChoiceCase{"UnlimitedColoursOnTrueColour", {{32, 32, 16}, {32, 32, 0}}, 32, 1},
        ChoiceCase{"ColourLimitOfAn8BitScreen", {{32, 32, 16}, {32, 32, 0}}, 8, 0},
        ChoiceCase{"FewerColoursNeverReplaceMore", {{32, 32, 256}, {32, 32, 16}}, 32, 0},
        ChoiceCase{"LaterEntryWinsATie", {{48, 48, 0}, {48, 48, 0}}, 32, 1},
        ChoiceCase{"FirstEntryStandsWhenNoneIsNearer", {{32, 32, 0}, {16, 16, 0}, {48, 48, 0}}, 32, 0},
        ChoiceCase{"NearerButBiggerLoses", {{64, 64, 0}, {16, 16, 0}}, 32, 1}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

TEST(IconChoice, RequestedSizeReplacesTheSystemSize) {
  auto icon = Load(File(1, {Solid(16, 16, 0, 0x112233), Solid(32, 32, 0, 0x445566)}));
  icon->SetWidth(16);
  icon->SetHeight(16);
  Surface s(40, 40, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 40, 40});
  EXPECT_EQ(s.At(0, 0), 0x112233u);
  EXPECT_EQ(icon->Width(), 16);
  EXPECT_EQ(MessageOf<EInvalidGraphicOperation>([&] { icon->SetWidth(48); }),
            "Impossible de modifier la taille d'une icône");
  EXPECT_EQ(MessageOf<EInvalidGraphicOperation>([&] { icon->SetHeight(48); }),
            "Impossible de modifier la taille d'une icône");
}

// ---- Reading.

TEST(IconRead, ShortFilesAreReadErrors) {
  for (size_t n : {0u, 1u, 3u, 5u}) {
    const std::vector<uint8_t> bytes(n, 0);
    EXPECT_EQ(MessageOf<EReadError>([&] { Load(bytes); }), "Erreur de lecture du flux") << n << " bytes";
  }
}

TEST(IconRead, CursorsAndLaterTypesAreRefusedAtLoading) {
  for (uint16_t type : {2, 3, 0xFFFF}) {
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { Load(File(type, {Solid(32, 32, 0, 0)})); }), "Image icône incorrecte")
        << "type " << type;
  }
}

TEST(IconRead, KeepsTheBytesFromTheStreamPositionAndChecksNothingElse) {
  std::vector<uint8_t> bytes = {9, 9, 9};
  const std::vector<uint8_t> file = File(1, {Solid(16, 16, 0, 0xABCDEF)});
  bytes.insert(bytes.end(), file.begin(), file.end());
  TIcon icon;
  EXPECT_TRUE(icon.IsEmpty());
  EXPECT_TRUE(icon.Transparent());
  int changes = 0;
  icon.OnChange = [&](TObject*) { ++changes; };
  TMemoryStream s(bytes);
  s.SetPosition(3);
  icon.LoadStream(s);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(icon.IsEmpty());
  Surface surface(16, 16, 0);
  icon.Render(surface.Canvas(), TRect{0, 0, 16, 16});
  EXPECT_EQ(surface.At(15, 15), 0xABCDEFu);
}

// ---- The size before and after the first drawing, and the place of the drawing.

TEST(IconDraw, ReportsTheSystemSizeUntilDrawnThenItsOwn) {
  auto icon = Load(File(1, {Solid(48, 48, 0, 0x00FF00)}));
  EXPECT_EQ(icon->Width(), gdi::SystemIconWidth());
  EXPECT_EQ(icon->Height(), gdi::SystemIconHeight());
  Surface s(100, 100, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 100, 100});
  EXPECT_EQ(icon->Width(), 48);
  EXPECT_EQ(icon->Height(), 48);
}

TEST(IconDraw, DrawsAtItsOwnSizeAtTheTopLeftOfABiggerRectangle) {
  auto icon = Load(File(1, {Solid(32, 32, 0, 0xFF0000)}));
  Surface s(300, 300, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{10, 20, 290, 280});
  EXPECT_EQ(s.At(10, 20), 0xFF0000u);
  EXPECT_EQ(s.At(41, 51), 0xFF0000u);
  EXPECT_EQ(s.At(42, 51), 0xFFFFFFu);
  EXPECT_EQ(s.At(41, 52), 0xFFFFFFu);
  EXPECT_EQ(s.At(9, 20), 0xFFFFFFu);
  EXPECT_EQ(s.At(200, 200), 0xFFFFFFu);
}

TEST(IconDraw, MaskKeepsTheBackgroundAndXorsTheColourIntoIt) {
  // Left half opaque red; right half masked, black on the top rows and white below.
  auto pixel = [](int x, int y) -> uint32_t { return x < 8 ? 0xFF0000 : (y < 8 ? 0x000000 : 0xFFFFFF); };
  auto masked = [](int x, int) { return x >= 8; };
  auto icon = Load(File(1, {Entry{16, 16, 0, Dib(16, 16, 24, pixel, masked)}}));
  Surface s(16, 16, 0x336699);
  icon->Render(s.Canvas(), TRect{0, 0, 16, 16});
  EXPECT_EQ(s.At(3, 3), 0xFF0000u);
  EXPECT_EQ(s.At(12, 3), 0x336699u);             // transparent
  EXPECT_EQ(s.At(12, 12), 0x336699u ^ 0xFFFFFF);  // inverted screen
}

TEST(IconDraw, ThirtyTwoBitImagesBlendByTheirAlpha) {
  auto pixel = [](int x, int) -> uint32_t { return x < 4 ? 0xFF0000FF : (x < 8 ? 0x800000FF : 0x000000FF); };
  // The mask says opaque everywhere: the alpha channel wins over it.
  auto icon = Load(File(1, {Entry{12, 4, 0, Dib(12, 4, 32, pixel)}}));
  Surface s(12, 4, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 12, 4});
  EXPECT_EQ(s.At(0, 0), 0x0000FFu);
  EXPECT_EQ(s.At(5, 0), 0x7F7FFFu);
  EXPECT_EQ(s.At(10, 0), 0xFFFFFFu);
}

TEST(IconDraw, ThirtyTwoBitImagesWithoutAlphaUseTheirMask) {
  auto icon = Load(File(1, {Entry{8, 8, 0, Dib(8, 8, 32, [](int, int) { return 0x00123456u; },
                                                [](int x, int) { return x >= 4; })}}));
  Surface s(8, 8, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 8, 8});
  EXPECT_EQ(s.At(0, 0), 0x123456u);
  EXPECT_EQ(s.At(6, 0), 0xFFFFFFu ^ 0x123456u);
}

TEST(IconDraw, TypeZeroDrawsTheApplicationIcon) {
  auto icon = Load(File(0, {}));
  Surface s(64, 64, 0x808080);
  Surface expected(64, 64, 0x808080);
  icon->Render(s.Canvas(), TRect{0, 0, 64, 64});
  gdi::DrawIconEx(expected.Canvas(), 0, 0, gdi::LoadApplicationIcon());
  int differing = 0, drawn = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      differing += s.At(x, y) != expected.At(x, y);
      drawn += s.At(x, y) != 0x808080;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(drawn, 500);
  EXPECT_EQ(icon->Width(), gdi::SystemIconWidth());
  EXPECT_EQ(icon->Height(), gdi::SystemIconHeight());
}

TEST(IconDraw, PngEntriesAreDecodedAndBlended) {
  QImage png(20, 10, QImage::Format_ARGB32);
  png.fill(QColor(0, 200, 0, 255));
  for (int y = 0; y < 10; ++y) png.setPixelColor(19, y, QColor(0, 0, 0, 0));
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(png.save(&buffer, "PNG"));
  const std::vector<uint8_t> data(encoded.begin(), encoded.end());
  // Size bytes 0 stand for the image's own size.
  auto icon = Load(File(1, {Entry{0, 0, 0, data}}));
  Surface s(30, 30, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 30, 30});
  EXPECT_EQ(s.At(0, 0), 0x00C800u);
  EXPECT_EQ(s.At(19, 0), 0xFFFFFFu);
  EXPECT_EQ(s.At(0, 10), 0xFFFFFFu);
  EXPECT_EQ(icon->Width(), 20);
  EXPECT_EQ(icon->Height(), 10);
}

TEST(IconDraw, ImageSmallerThanItsEntryIsScaledToTheEntrySize) {
  auto icon = Load(File(1, {Entry{16, 16, 0, Dib(8, 8, 24, [](int x, int) { return x < 4 ? 0xFF0000u : 0x0000FFu; })}}));
  Surface s(16, 16, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 16, 16});
  EXPECT_EQ(s.At(7, 15), 0xFF0000u);
  EXPECT_EQ(s.At(8, 15), 0x0000FFu);
  EXPECT_EQ(icon->Width(), 16);
}

// ---- Damaged icons load and fail at their first drawing, every time.

struct DamageCase {
  const char* name;
  std::function<std::vector<uint8_t>()> make;
};

class IconDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(IconDamage, LoadsAndIsRefusedAtEachDrawing) {
  auto icon = Load(GetParam().make());
  Surface s(32, 32, 0xFFFFFF);
  for (int attempt = 0; attempt < 2; ++attempt)
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { icon->Render(s.Canvas(), TRect{0, 0, 32, 32}); }),
              "Image icône incorrecte");
  EXPECT_EQ(icon->Width(), gdi::SystemIconWidth());
  EXPECT_EQ(s.At(0, 0), 0xFFFFFFu);
}

uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFF;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

// A PNG with a header of the given size and, after it, the given bytes.
std::vector<uint8_t> Png(uint32_t side, const std::vector<uint8_t>& rest) {
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (int pass = 0; pass < 2; ++pass)
    for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<uint8_t>(side >> shift));
  for (uint8_t b : std::vector<uint8_t>{8, 6, 0, 0, 0}) png.push_back(b);
  const uint32_t crc = Crc32(png.data() + 12, 17);
  for (int shift : {24, 16, 8, 0}) png.push_back(static_cast<uint8_t>(crc >> shift));
  png.insert(png.end(), rest.begin(), rest.end());
  return png;
}

// An empty data chunk and the end chunk, with their check values.
const std::vector<uint8_t> kEmptyDataAndEnd{0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E,
                                            0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
// A text chunk that claims a gigabyte.
const std::vector<uint8_t> kHugeText{0x40, 0, 0, 0, 't', 'E', 'X', 't', 'a', 'b', 'c', 0, 0, 0, 0, 0};

std::vector<uint8_t> WithEntryField(std::vector<uint8_t> f, size_t field, uint32_t value) {
  Put32(f, 6 + field, value);
  return f;
}
std::vector<uint8_t> WithImageField16(std::vector<uint8_t> f, size_t field, uint16_t value) {
  Put16(f, 22 + field, value);
  return f;
}

INSTANTIATE_TEST_SUITE_P(
    Refused, IconDamage,
    ::testing::Values(
        DamageCase{"EmptyDirectory", [] { return File(1, {}); }},
        DamageCase{"DirectoryCutShort", [] { return std::vector<uint8_t>{0, 0, 1, 0, 1, 0, 32, 32}; }},
        DamageCase{"DataOffsetPastTheEnd", [] { return WithEntryField(File(1, {Solid(32, 32, 0, 0)}), 12, 100000); }},
        DamageCase{"DataOffsetAtTheEnd",
                   [] {
                     auto f = File(1, {Solid(32, 32, 0, 0)});
                     return WithEntryField(f, 12, static_cast<uint32_t>(f.size()));
                   }},
        DamageCase{"ZeroByteSize", [] { return WithEntryField(File(1, {Solid(32, 32, 0, 0)}), 8, 0); }},
        DamageCase{"OddBitCount", [] { return WithImageField16(File(1, {Solid(32, 32, 0, 0)}), 14, 65535); }},
        DamageCase{"RunLengthCompressed", [] { return WithImageField16(File(1, {Solid(32, 32, 0, 0)}), 16, 2); }},
        DamageCase{"HugeImageUnderAZeroSizeEntry",
                   [] {
                     auto f = File(1, {Solid(0, 0, 0, 0)});
                     Put32(f, 22 + 4, 40000);
                     Put32(f, 22 + 8, 80000);
                     return f;
                   }},
        DamageCase{"PngDeclaringTwentyThousandPixelsASide",
                   [] { return File(1, {Entry{0, 0, 0, Png(20000, kEmptyDataAndEnd)}}); }},
        DamageCase{"PngChunkLongerThanItsData", [] { return File(1, {Entry{0, 0, 0, Png(16, kHugeText)}}); }},
        DamageCase{"PngThatDoesNotDecode",
                   [] {
                     return File(1, {Entry{32, 32, 0, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3}}});
                   }}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

TEST(IconDamage, ImageRunningPastTheEndReadsAsZeros) {
  std::vector<uint8_t> f = File(1, {Solid(16, 16, 0, 0xFFFFFF)});
  f.resize(f.size() - 400);  // the lower colour rows stay; the top rows and the mask are gone
  auto icon = Load(f);
  Surface s(16, 16, 0x00FF00);
  icon->Render(s.Canvas(), TRect{0, 0, 16, 16});
  EXPECT_EQ(s.At(0, 15), 0xFFFFFFu);
  EXPECT_EQ(s.At(0, 0), 0x000000u);
}

TEST(IconDamage, DecompressionBombHeaderIsSampledNotAllocated) {
  // A 16-pixel entry whose 1-bit header claims 65535 x 65535 pixels.
  auto f = File(1, {Solid(16, 16, 0, 0x0000FF)});
  Put32(f, 22 + 4, 65535);
  Put32(f, 22 + 8, 65535 * 2);
  Put16(f, 22 + 14, 1);
  auto icon = Load(f);
  Surface s(16, 16, 0xFFFFFF);
  icon->Render(s.Canvas(), TRect{0, 0, 16, 16});
  EXPECT_EQ(icon->Width(), 16);
}

}  // namespace
