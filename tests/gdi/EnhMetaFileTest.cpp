// The enhanced-metafile handle functions and the player, on small metafiles built here.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/gdi/EmfConstants.h"
#include "platform/gdi/EnhMetaFile.h"
#include "tests/gdi/EmfBuilder.h"

using namespace gdi;
using namespace gdi::emf;
using testing_emf::EmfBuilder;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

std::unique_ptr<Dib> WhiteSurface(int w, int h) {
  auto dib = Dib::Create(DibHeader{w, -h, 1, 32});
  dib->Fill(kWhite);
  return dib;
}

// Plays into a white surface of the picture's own size (or the given rectangle).
std::unique_ptr<Dib> Play(const std::vector<uint8_t>& bytes, int w, int h, TRect rect = {0, 0, -1, -1}) {
  auto dib = WhiteSurface(w, h);
  TCanvas canvas(*dib);
  auto emf = SetEnhMetaFileBits(bytes);
  EXPECT_TRUE(emf);
  if (rect.Right < 0) rect = TRect{0, 0, w - 1, h - 1};
  PlayEnhMetaFile(canvas, emf, rect);
  return dib;
}

EmfBuilder& SolidBrush(EmfBuilder& b, uint32_t slot, COLORREF c) {
  b.Rec(EMR_CREATEBRUSHINDIRECT, {slot, BS_SOLID, c, 0});
  return b.Rec(EMR_SELECTOBJECT, {slot});
}

EmfBuilder& NullPen(EmfBuilder& b) { return b.Rec(EMR_SELECTOBJECT, {kStockFlag | NULL_PEN}); }

// The smallest rectangle holding every pixel of a colour; empty when there is none.
TRect BoundsOf(const Dib& d, COLORREF c) {
  TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int y = 0; y < d.Height(); ++y)
    for (int x = 0; x < d.Width(); ++x)
      if (d.PixelColor(x, y) == c) r = TRect{std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1)};
  return r.Left == INT32_MAX ? TRect{} : r;
}

std::vector<uint8_t> Header(uint32_t type, uint32_t size, uint32_t signature, uint32_t total, size_t length) {
  std::vector<uint8_t> b = EmfBuilder(10, 10).Build();
  auto put = [&](size_t off, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, type);
  put(4, size);
  put(40, signature);
  put(48, total);
  b.resize(length);
  return b;
}

}  // namespace

// ---- handles -----------------------------------------------------------------------------

struct HeaderCase {
  const char* name;
  uint32_t type, size, signature, total;
  size_t length;
  bool accepted;
};

class EmfHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(EmfHeaderTest, ValidatesTheHeaderRecord) {
  const HeaderCase& c = GetParam();
  const auto bytes = Header(c.type, c.size, c.signature, c.total, c.length);
  const auto emf = SetEnhMetaFileBits(bytes);
  EXPECT_EQ(static_cast<bool>(emf), c.accepted);
  EnhMetaHeader h;
  EXPECT_EQ(GetEnhMetaFileHeader(emf, h), c.accepted);
  if (emf) {
    EXPECT_EQ(emf->Bytes().size(), c.total);
    EXPECT_EQ(h.frame, (TRect{0, 0, 100, 100}));
    EXPECT_EQ(h.deviceCx, 1000);
    EXPECT_EQ(h.millimetersCy, 100);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EmfHeaderTest,
    ::testing::Values(HeaderCase{"valid", 1, 100, 0x464D4520, 120, 120, true},
                      HeaderCase{"extraBytesIgnored", 1, 100, 0x464D4520, 120, 200, true},
                      HeaderCase{"smallestHeader", 1, 88, 0x464D4520, 120, 120, true},
                      HeaderCase{"wrongType", 2, 100, 0x464D4520, 120, 120, false},
                      HeaderCase{"headerTooSmall", 1, 84, 0x464D4520, 120, 120, false},
                      HeaderCase{"headerPastData", 1, 400, 0x464D4520, 120, 120, false},
                      HeaderCase{"wrongSignature", 1, 100, 0x464D4521, 120, 120, false},
                      HeaderCase{"totalPastData", 1, 100, 0x464D4520, 121, 120, false},
                      HeaderCase{"totalBelowHeader", 1, 100, 0x464D4520, 96, 120, false},
                      HeaderCase{"truncatedHeader", 1, 100, 0x464D4520, 120, 60, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EnhMetaFile, PaletteEntriesComeFromTheEndRecord) {
  const auto emf = SetEnhMetaFileBits(EmfBuilder(10, 10).Build({0x00030201, 0x00FFEEDD}));
  const auto entries = GetEnhMetaFilePaletteEntries(emf);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (PaletteEntry{1, 2, 3, 0}));
  EXPECT_EQ(entries[1], (PaletteEntry{0xDD, 0xEE, 0xFF, 0}));
  EXPECT_TRUE(GetEnhMetaFilePaletteEntries(SetEnhMetaFileBits(EmfBuilder(10, 10).Build())).empty());
  EXPECT_TRUE(GetEnhMetaFilePaletteEntries(nullptr).empty());
}

TEST(EnhMetaFile, PaletteCountPastTheRecordGivesNoEntries) {
  auto bytes = EmfBuilder(10, 10).Build({0x00030201});
  bytes[bytes.size() - 24 + 8] = 200;  // the end record's entry count
  EXPECT_TRUE(GetEnhMetaFilePaletteEntries(SetEnhMetaFileBits(bytes)).empty());
}

// ---- shapes ------------------------------------------------------------------------------

TEST(EmfPlayer, RectangleFillsInsideAndOutlinesToRightAndBottomMinusOne) {
  EmfBuilder b(60, 40);
  SolidBrush(b, 1, kRed).Rec(EMR_RECTANGLE, {10, 10, 50, 30});
  const auto d = Play(b.Build(), 60, 40);
  EXPECT_EQ(BoundsOf(*d, kBlack), (TRect{10, 10, 50, 30}));
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{11, 11, 49, 29}));
  EXPECT_EQ(d->PixelColor(50, 30), kWhite);
}

TEST(EmfPlayer, RectangleWithoutPenIsOnePixelSmaller) {
  EmfBuilder b(60, 40);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {10, 10, 50, 30});
  const auto d = Play(b.Build(), 60, 40);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{10, 10, 49, 29}));
  EXPECT_EQ(BoundsOf(*d, kBlack), TRect{});
}

TEST(EmfPlayer, StockObjectsAndDeletedSlots) {
  EmfBuilder b(40, 20);
  b.Rec(EMR_SELECTOBJECT, {kStockFlag | BLACK_BRUSH});
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 11, 11});
  // A deleted brush can no longer be selected: the black brush stays.
  b.Rec(EMR_CREATEBRUSHINDIRECT, {2, BS_SOLID, kBlue, 0}).Rec(EMR_DELETEOBJECT, {2}).Rec(EMR_SELECTOBJECT, {2});
  b.Rec(EMR_RECTANGLE, {20, 0, 31, 11});
  const auto d = Play(b.Build(), 40, 20);
  EXPECT_EQ(d->PixelColor(5, 5), kBlack);
  EXPECT_EQ(d->PixelColor(25, 5), kBlack);
  EXPECT_EQ(BoundsOf(*d, kBlue), TRect{});
}

struct FillModeCase {
  const char* name;
  int mode;
  COLORREF centre;
};

class EmfFillModeTest : public ::testing::TestWithParam<FillModeCase> {};

// A five-pointed star drawn in one stroke: its centre is inside twice.
TEST_P(EmfFillModeTest, StarCentreFollowsTheFillMode) {
  for (bool small : {false, true}) {
    EmfBuilder b(100, 100);
    SolidBrush(b, 1, kRed);
    NullPen(b).Rec(EMR_SETPOLYFILLMODE, {GetParam().mode});
    const int pts[5][2] = {{50, 5}, {79, 95}, {2, 39}, {98, 39}, {21, 95}};
    std::vector<uint32_t> w = {0, 0, 100, 100, 5};
    for (auto& p : pts) {
      if (small) {
        w.push_back(static_cast<uint32_t>(p[0] | (p[1] << 16)));
      } else {
        w.push_back(p[0]);
        w.push_back(p[1]);
      }
    }
    b.Raw(small ? EMR_POLYGON16 : EMR_POLYGON, w);
    const auto d = Play(b.Build(), 100, 100);
    EXPECT_EQ(d->PixelColor(50, 52), GetParam().centre) << (small ? "16-bit" : "32-bit");
    EXPECT_EQ(d->PixelColor(50, 20), kRed);  // a point of the star
    EXPECT_EQ(d->PixelColor(5, 90), kWhite);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, EmfFillModeTest,
                         ::testing::Values(FillModeCase{"alternate", ALTERNATE, kWhite},
                                           FillModeCase{"winding", WINDING, kRed}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EmfPlayer, PolyPolygonFillsEachFigure) {
  EmfBuilder b(60, 30);
  SolidBrush(b, 1, kBlue);
  NullPen(b).Raw(EMR_POLYPOLYGON, {0, 0, 60, 30, 2, 8, 4, 4,                   //
                                   0, 0, 20, 0, 20, 20, 0, 20,                 //
                                   30, 0, 50, 0, 50, 20, 30, 20});
  const auto d = Play(b.Build(), 60, 30);
  EXPECT_EQ(d->PixelColor(10, 10), kBlue);
  EXPECT_EQ(d->PixelColor(40, 10), kBlue);
  EXPECT_EQ(d->PixelColor(25, 10), kWhite);
}

TEST(EmfPlayer, GeometricPenWidthAndCosmeticPen) {
  EmfBuilder b(60, 40);
  b.Rec(EMR_CREATEPEN, {1, PS_SOLID, 5, 0, kRed}).Rec(EMR_SELECTOBJECT, {1});
  b.Rec(EMR_MOVETOEX, {10, 10}).Rec(EMR_LINETO, {50, 10});
  b.Rec(EMR_CREATEPEN, {2, PS_SOLID, 0, 0, kBlue}).Rec(EMR_SELECTOBJECT, {2});
  b.Rec(EMR_MOVETOEX, {10, 30}).Rec(EMR_LINETO, {50, 30});
  const auto d = Play(b.Build(), 60, 40);
  const TRect red = BoundsOf(*d, kRed);
  EXPECT_EQ(red.Height(), 5);
  EXPECT_EQ(red.Top, 8);
  const TRect blue = BoundsOf(*d, kBlue);
  EXPECT_EQ(blue.Height(), 1);
  EXPECT_EQ(blue.Top, 30);
  EXPECT_GE(blue.Left, 10);
  EXPECT_LE(blue.Right, 51);
}

TEST(EmfPlayer, DashedPenLeavesGaps) {
  EmfBuilder b(100, 10);
  b.Rec(EMR_CREATEPEN, {1, PS_DASH, 0, 0, kBlack}).Rec(EMR_SELECTOBJECT, {1});
  b.Rec(EMR_MOVETOEX, {0, 5}).Rec(EMR_LINETO, {100, 5});
  const auto d = Play(b.Build(), 100, 10);
  int black = 0;
  for (int x = 0; x < 100; ++x) black += d->PixelColor(x, 5) == kBlack;
  EXPECT_GT(black, 50);
  EXPECT_LT(black, 95);
}

TEST(EmfPlayer, EllipsePieAndChordStayInTheirBox) {
  for (uint32_t type : {EMR_ELLIPSE, EMR_PIE, EMR_CHORD}) {
    EmfBuilder b(60, 60);
    SolidBrush(b, 1, kGreen);
    if (type == EMR_ELLIPSE)
      b.Rec(type, {10, 10, 50, 50});
    else
      b.Rec(type, {10, 10, 50, 50, 50, 30, 30, 10});  // from the right to the top: a quarter
    const auto d = Play(b.Build(), 60, 60);
    const TRect outline = BoundsOf(*d, kBlack);
    EXPECT_GE(outline.Left, 10) << type;
    EXPECT_GE(outline.Top, 10) << type;
    EXPECT_LE(outline.Right, 50) << type;
    EXPECT_LE(outline.Bottom, 50) << type;
    EXPECT_EQ(d->PixelColor(30, 30) == kGreen || d->PixelColor(30, 30) == kBlack, type != EMR_CHORD) << type;
    EXPECT_EQ(d->PixelColor(40, 18), kGreen) << type;                       // inside the first quarter
    EXPECT_EQ(d->PixelColor(20, 40) == kGreen, type == EMR_ELLIPSE) << type;  // the opposite quarter
  }
}

TEST(EmfPlayer, BezierPassesThroughItsEnds) {
  EmfBuilder b(60, 40);
  b.Raw(EMR_POLYBEZIER, {0, 0, 60, 40, 4, 5, 35, 20, 0, 40, 0, 55, 35});
  const auto d = Play(b.Build(), 60, 40);
  const TRect r = BoundsOf(*d, kBlack);
  EXPECT_LE(r.Left, 6);
  EXPECT_GE(r.Right, 54);
  EXPECT_GE(r.Top, 8);  // the curve bends up, but not to its control points
  EXPECT_LE(r.Top, 14);
}

TEST(EmfPlayer, PolyDrawMovesAndDrawsLines) {
  EmfBuilder b(60, 40);
  b.Rec(EMR_CREATEPEN, {1, PS_SOLID, 0, 0, kRed}).Rec(EMR_SELECTOBJECT, {1});
  // Move to (10, 10), line to (50, 10); move to (10, 30), line to (50, 30).
  b.Raw(EMR_POLYDRAW16, {0, 0, 60, 40, 4, 10 | (10 << 16), 50 | (10 << 16), 10 | (30 << 16), 50 | (30 << 16),
                         PT_MOVETO | (PT_LINETO << 8) | (PT_MOVETO << 16) | (PT_LINETO << 24)});
  const auto d = Play(b.Build(), 60, 40);
  EXPECT_EQ(d->PixelColor(30, 10), kRed);
  EXPECT_EQ(d->PixelColor(30, 30), kRed);
  EXPECT_EQ(d->PixelColor(30, 20), kWhite);  // no line between the figures
  EXPECT_EQ(d->PixelColor(5, 5), kWhite);    // none from the current position either
}

// ---- mapping -----------------------------------------------------------------------------

TEST(EmfPlayer, AnisotropicMappingScalesLogicalUnits) {
  EmfBuilder b(100, 100);
  b.Rec(EMR_SETMAPMODE, {MM_ANISOTROPIC}).Rec(EMR_SETWINDOWEXTEX, {200, 200}).Rec(EMR_SETVIEWPORTEXTEX, {100, 100});
  b.Rec(EMR_SETWINDOWORGEX, {-20, 0});
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 100, 50});
  const auto d = Play(b.Build(), 100, 100);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{10, 0, 59, 24}));
}

TEST(EmfPlayer, MetricModeTurnsTheYAxisUp) {
  // 10 pixels a millimetre: in MM_LOMETRIC one unit is one pixel, y growing upwards.
  EmfBuilder b(100, 100);
  b.Rec(EMR_SETMAPMODE, {MM_LOMETRIC}).Rec(EMR_SETVIEWPORTORGEX, {0, 100});
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {10, 10, 31, 41});
  const auto d = Play(b.Build(), 100, 100);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{10, 59, 30, 89}));
}

TEST(EmfPlayer, WorldTransformAndSaveRestore) {
  EmfBuilder b(100, 100);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_SAVEDC, {});
  b.Raw(EMR_SETWORLDTRANSFORM, {EmfBuilder::F(2), 0, 0, EmfBuilder::F(2), EmfBuilder::F(10), EmfBuilder::F(0)});
  b.Rec(EMR_RECTANGLE, {0, 0, 11, 11});
  b.Rec(EMR_RESTOREDC, {-1});
  SolidBrush(b, 2, kBlue).Rec(EMR_RECTANGLE, {0, 50, 11, 61});
  const auto d = Play(b.Build(), 100, 100);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{10, 0, 31, 21}));
  // Restored: no transform, and the brush selected after it.
  EXPECT_EQ(BoundsOf(*d, kBlue), (TRect{0, 50, 10, 60}));
}

TEST(EmfPlayer, FrameIsScaledOntoTheRectangle) {
  EmfBuilder b(50, 50);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 26, 26});
  const auto d = Play(b.Build(), 120, 120, TRect{10, 20, 109, 119});  // twice the size
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{10, 20, 61, 71}));
}

TEST(EmfPlayer, CanvasClipAndOriginApply) {
  EmfBuilder b(50, 50);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 51, 51});
  auto d = WhiteSurface(100, 100);
  TCanvas canvas(*d);
  canvas.Origin = TPoint{30, 10};
  canvas.ClipRect = TRect{0, 0, 60, 40};
  PlayEnhMetaFile(canvas, SetEnhMetaFileBits(b.Build()), TRect{0, 0, 49, 49});
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{30, 10, 60, 40}));
}

TEST(EmfPlayer, BottomUpSurfaceIsDrawnUpright) {
  EmfBuilder b(40, 40);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 11, 11});
  auto d = Dib::Create(DibHeader{40, 40, 1, 32});
  d->Fill(kWhite);
  TCanvas canvas(*d);
  PlayEnhMetaFile(canvas, SetEnhMetaFileBits(b.Build()), TRect{0, 0, 39, 39});
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{0, 0, 10, 10}));
}

// ---- clipping ----------------------------------------------------------------------------

TEST(EmfPlayer, ClipRectanglesAndRegions) {
  EmfBuilder b(100, 100);
  SolidBrush(b, 1, kRed);
  NullPen(b);
  b.Rec(EMR_INTERSECTCLIPRECT, {0, 0, 60, 100}).Rec(EMR_EXCLUDECLIPRECT, {20, 20, 40, 40});
  b.Rec(EMR_RECTANGLE, {0, 0, 101, 50});
  b.Rec(EMR_SAVEDC, {});
  // Region data in device units: copy mode replaces the clip with one rectangle.
  b.Rec(EMR_EXTSELECTCLIPRGN, {48, RGN_COPY, 32, 1, 1, 16, 70, 0, 80, 10, 70, 0, 80, 10});
  SolidBrush(b, 2, kGreen).Rec(EMR_RECTANGLE, {0, 0, 101, 101});
  b.Rec(EMR_RESTOREDC, {-1});
  SolidBrush(b, 3, kBlue).Rec(EMR_RECTANGLE, {0, 50, 101, 101});
  const auto d = Play(b.Build(), 100, 100);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{0, 0, 60, 49}));
  EXPECT_EQ(d->PixelColor(30, 30), kWhite);  // excluded
  EXPECT_EQ(BoundsOf(*d, kGreen), (TRect{70, 0, 80, 10}));
  // After RestoreDC the intersected and excluded clip is back.
  EXPECT_EQ(BoundsOf(*d, kBlue), (TRect{0, 50, 60, 100}));
  EXPECT_EQ(d->PixelColor(75, 60), kWhite);
}

TEST(EmfPlayer, ClipPathAndEmptyRegionReset) {
  EmfBuilder b(100, 100);
  SolidBrush(b, 1, kRed);
  NullPen(b);
  b.Rec(EMR_BEGINPATH, {}).Rec(EMR_RECTANGLE, {10, 10, 30, 30}).Rec(EMR_ENDPATH, {});
  b.Rec(EMR_SELECTCLIPPATH, {RGN_COPY});
  b.Rec(EMR_RECTANGLE, {0, 0, 101, 50});
  b.Rec(EMR_EXTSELECTCLIPRGN, {0, RGN_COPY});
  SolidBrush(b, 2, kBlue).Rec(EMR_RECTANGLE, {0, 60, 101, 101});
  const auto d = Play(b.Build(), 100, 100);
  const TRect red = BoundsOf(*d, kRed);
  EXPECT_GE(red.Left, 9);
  EXPECT_LE(red.Right, 31);
  EXPECT_EQ(d->PixelColor(20, 20), kRed);
  EXPECT_EQ(BoundsOf(*d, kBlue), (TRect{0, 60, 100, 100}));
}

// ---- paths -------------------------------------------------------------------------------

TEST(EmfPlayer, PathFillStrokeAndAbort) {
  EmfBuilder b(100, 60);
  SolidBrush(b, 1, kRed);
  b.Rec(EMR_CREATEPEN, {2, PS_SOLID, 0, 0, kBlue}).Rec(EMR_SELECTOBJECT, {2});
  // A triangle from lines, closed, stroked and filled.
  b.Rec(EMR_BEGINPATH, {}).Rec(EMR_MOVETOEX, {10, 50}).Rec(EMR_LINETO, {50, 50}).Rec(EMR_LINETO, {30, 10});
  b.Rec(EMR_CLOSEFIGURE, {}).Rec(EMR_ENDPATH, {}).Rec(EMR_STROKEANDFILLPATH, {0, 0, 0, 0});
  // A path that is aborted draws nothing; drawing inside a bracket draws nothing either.
  b.Rec(EMR_BEGINPATH, {}).Rec(EMR_RECTANGLE, {60, 10, 90, 50}).Rec(EMR_ABORTPATH, {});
  b.Rec(EMR_FILLPATH, {0, 0, 0, 0});
  const auto d = Play(b.Build(), 100, 60);
  EXPECT_EQ(d->PixelColor(30, 40), kRed);
  EXPECT_EQ(d->PixelColor(30, 50), kBlue);
  const TRect blue = BoundsOf(*d, kBlue);
  EXPECT_GE(blue.Top, 9);
  EXPECT_LE(blue.Right, 52);
  EXPECT_EQ(d->PixelColor(75, 30), kWhite);
  EXPECT_EQ(BoundsOf(*d, kBlack), TRect{});
}

// ---- brushes -----------------------------------------------------------------------------

TEST(EmfPlayer, HatchedBrushUsesBackgroundModeAndColour) {
  for (int mode : {TRANSPARENT, OPAQUE}) {
    EmfBuilder b(40, 40);
    b.Rec(EMR_SETBKMODE, {mode}).Rec(EMR_SETBKCOLOR, {kGreen});
    b.Rec(EMR_CREATEBRUSHINDIRECT, {1, BS_HATCHED, kRed, HS_HORIZONTAL}).Rec(EMR_SELECTOBJECT, {1});
    NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 41, 41});
    const auto d = Play(b.Build(), 40, 40);
    int redRows = 0;
    for (int y = 0; y < 40; ++y) redRows += d->PixelColor(20, y) == kRed;
    EXPECT_GE(redRows, 3);
    EXPECT_LE(redRows, 8);
    EXPECT_EQ(BoundsOf(*d, kGreen) != TRect{}, mode == OPAQUE);
  }
}

// ---- text --------------------------------------------------------------------------------

namespace {

EmfBuilder& Font(EmfBuilder& b, uint32_t slot, int32_t height, const char* face, int32_t width = 0,
                 int32_t escapement = 0) {
  std::vector<uint32_t> w = {slot, static_cast<uint32_t>(height), static_cast<uint32_t>(width),
                             static_cast<uint32_t>(escapement), static_cast<uint32_t>(escapement), 400, 0, 0};
  std::u16string f;
  for (const char* p = face; *p; ++p) f.push_back(static_cast<char16_t>(*p));
  f.resize(32 + 2 * 64 + 2 * 32 + 20, u'\0');  // face, full name, style, script, design vector
  for (size_t i = 0; i < f.size(); i += 2) w.push_back(f[i] | (static_cast<uint32_t>(f[i + 1]) << 16));
  b.Raw(EMR_EXTCREATEFONTINDIRECTW, w);
  return b.Rec(EMR_SELECTOBJECT, {slot});
}

void TextOut(EmfBuilder& b, int x, int y, const std::u16string& text, const std::vector<int>& dx = {}) {
  const uint32_t offString = 76;
  const uint32_t strWords = static_cast<uint32_t>((text.size() * 2 + 3) / 4);
  const uint32_t offDx = dx.empty() ? 0 : offString + 4 * strWords;
  std::vector<uint32_t> w = {0, 0, 0, 0, 1, 0, 0, static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                             static_cast<uint32_t>(text.size()), offString, 0, 0, 0, 0, 0, offDx};
  std::u16string t = text;
  if (t.size() % 2) t.push_back(u'\0');
  for (size_t i = 0; i < t.size(); i += 2) w.push_back(t[i] | (static_cast<uint32_t>(t[i + 1]) << 16));
  for (int v : dx) w.push_back(static_cast<uint32_t>(v));
  b.Raw(EMR_EXTTEXTOUTW, w);
}

}  // namespace

TEST(EmfPlayer, TextLandsAtTheReferencePointWithoutAntialiasing) {
  EmfBuilder b(120, 60);
  b.Rec(EMR_SETBKMODE, {TRANSPARENT});
  Font(b, 1, -20, "Liberation Sans");
  TextOut(b, 20, 10, u"HH");
  const auto d = Play(b.Build(), 120, 60);
  const TRect ink = BoundsOf(*d, kBlack);
  ASSERT_NE(ink, TRect{});
  EXPECT_GE(ink.Left, 20);
  EXPECT_LE(ink.Left, 24);
  // Top alignment: the cell's top at y 10; a capital's top lies a few pixels below it.
  EXPECT_GE(ink.Top, 11);
  EXPECT_LE(ink.Top, 16);
  EXPECT_LE(ink.Bottom, 31);
  std::set<COLORREF> colours;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x) colours.insert(d->PixelColor(x, y));
  EXPECT_EQ(colours, (std::set<COLORREF>{kBlack, kWhite}));
}

TEST(EmfPlayer, TextSpacingArrayAndAlignment) {
  EmfBuilder b(200, 60);
  b.Rec(EMR_SETBKMODE, {TRANSPARENT}).Rec(EMR_SETTEXTCOLOR, {kRed});
  Font(b, 1, -20, "Liberation Sans");
  TextOut(b, 10, 5, u"II", {60, 60});
  b.Rec(EMR_SETTEXTALIGN, {TA_RIGHT | TA_BASELINE}).Rec(EMR_SETTEXTCOLOR, {kBlue});
  TextOut(b, 190, 50, u"I");
  const auto d = Play(b.Build(), 200, 60);
  const TRect red = BoundsOf(*d, kRed);
  EXPECT_GE(red.Right - red.Left, 60);  // the second I moved 60 pixels on
  EXPECT_LE(red.Right - red.Left, 66);
  const TRect blue = BoundsOf(*d, kBlue);
  EXPECT_LE(blue.Right, 190);
  EXPECT_GE(blue.Right, 184);
  EXPECT_LE(blue.Bottom, 50);
  EXPECT_GE(blue.Bottom, 49);
}

TEST(EmfPlayer, FontWidthNarrowsOrWidensTheGlyphs) {
  auto inkWidth = [](int32_t width) {
    EmfBuilder b(300, 40);
    b.Rec(EMR_SETBKMODE, {TRANSPARENT});
    Font(b, 1, -20, "Liberation Sans", width);
    TextOut(b, 5, 5, u"MMMMM");
    const auto d = Play(b.Build(), 300, 40);
    return BoundsOf(*d, kBlack).Width();
  };
  const int natural = inkWidth(0);
  // The average width Arial states at 20 pixels (0.441 of the height) keeps the natural width.
  EXPECT_NEAR(inkWidth(9), natural, natural / 12);
  EXPECT_LT(inkWidth(4), natural * 3 / 4);
  EXPECT_GT(inkWidth(20), natural * 5 / 4);
}

// Vertical labels: 90 degrees in a y-down mapping, 270 in one whose y axis points up (as
// charts record their axis titles) both read upwards from the reference point.
TEST(EmfPlayer, EscapementTurnsTheBaseline) {
  for (bool flipped : {false, true}) {
    EmfBuilder b(60, 200);
    b.Rec(EMR_SETBKMODE, {TRANSPARENT}).Rec(EMR_SETTEXTALIGN, {TA_BASELINE});
    if (flipped) {
      b.Rec(EMR_SETMAPMODE, {MM_ANISOTROPIC}).Rec(EMR_SETWINDOWEXTEX, {60, -200}).Rec(EMR_SETVIEWPORTEXTEX, {60, 200});
      b.Rec(EMR_SETWINDOWORGEX, {0, 200});
    }
    Font(b, 1, -20, "Liberation Sans", 0, flipped ? 2700 : 900);
    TextOut(b, 30, flipped ? 20 : 180, u"MMMMM");  // device (30, 180) both ways
    const auto d = Play(b.Build(), 60, 200);
    const TRect ink = BoundsOf(*d, kBlack);
    EXPECT_GT(ink.Height(), 60) << flipped;
    EXPECT_LT(ink.Width(), 25) << flipped;
    EXPECT_LE(ink.Bottom, 181) << flipped;  // above the reference point
    EXPECT_LE(ink.Right, 31) << flipped;    // the glyphs' tops point left, away from the baseline
  }
}

TEST(EmfPlayer, CharactersTheFontLacksDrawNothing) {
  EmfBuilder b(100, 40);
  b.Rec(EMR_SETBKMODE, {TRANSPARENT});
  Font(b, 1, -20, "Liberation Sans");
  TextOut(b, 10, 10, u"\uE000\uE001\uE002");  // private-use characters: no glyphs
  const auto d = Play(b.Build(), 100, 40);
  EXPECT_EQ(BoundsOf(*d, kBlack), TRect{});
}

TEST(EmfPlayer, OpaqueTextFillsItsBackground) {
  EmfBuilder b(100, 40);
  b.Rec(EMR_SETBKCOLOR, {kGreen});
  Font(b, 1, -20, "Liberation Sans");
  TextOut(b, 10, 10, u"x");
  const auto d = Play(b.Build(), 100, 40);
  const TRect bk = BoundsOf(*d, kGreen);
  EXPECT_EQ(bk.Left, 10);
  EXPECT_EQ(bk.Top, 10);
  EXPECT_GE(bk.Bottom, 28);
}

// ---- bitmaps -----------------------------------------------------------------------------

namespace {

// A 2 x 2 24-bit bitmap, bottom-up: bottom row red, blue; top row green, white.
std::vector<uint32_t> StretchDiBits(int x, int y, int cx, int cy, uint32_t rop) {
  const uint32_t offBmi = 80, cbBmi = 40, offBits = 120, cbBits = 16;
  std::vector<uint32_t> w = {0, 0, 0, 0, static_cast<uint32_t>(x), static_cast<uint32_t>(y), 0, 0, 2, 2,
                             offBmi, cbBmi, offBits, cbBits, 0, rop, static_cast<uint32_t>(cx), static_cast<uint32_t>(cy)};
  const uint32_t info[10] = {40, 2, 2, 1 | (24 << 16), 0, 16, 0, 0, 0, 0};
  w.insert(w.end(), info, info + 10);
  // rows of 6 bytes padded to 8: B G R B G R 0 0
  const uint8_t rows[16] = {0, 0, 255, 255, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
  for (int i = 0; i < 16; i += 4) w.push_back(rows[i] | (rows[i + 1] << 8) | (rows[i + 2] << 16) | (rows[i + 3] << 24));
  return w;
}

}  // namespace

TEST(EmfPlayer, StretchDibitsScalesTheBitmapUpright) {
  EmfBuilder b(40, 40);
  b.Raw(EMR_STRETCHDIBITS, StretchDiBits(10, 10, 20, 20, SRCCOPY));
  const auto d = Play(b.Build(), 40, 40);
  EXPECT_EQ(d->PixelColor(10, 10), kGreen);
  EXPECT_EQ(d->PixelColor(29, 10), kWhite);
  EXPECT_EQ(d->PixelColor(10, 29), kRed);
  EXPECT_EQ(d->PixelColor(29, 29), kBlue);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{10, 20, 20, 30}));
}

// A source rectangle of one pixel picks the same pixel from a bottom-up and a top-down
// bitmap: rows count from the bottom in the first, from the top in the second.
TEST(EmfPlayer, StretchDibitsSourceRectangleFollowsRowOrder) {
  for (bool topDown : {false, true}) {
    auto w = StretchDiBits(0, 0, 10, 10, SRCCOPY);
    w[6] = 0;  // xSrc
    w[7] = 0;  // ySrc
    w[8] = 1;  // cxSrc
    w[9] = 1;  // cySrc
    if (topDown) w[18 + 2] = static_cast<uint32_t>(-2);  // height: the same rows, read top-down
    EmfBuilder b(20, 20);
    b.Raw(EMR_STRETCHDIBITS, w);
    const auto d = Play(b.Build(), 20, 20);
    // Bottom-up: (0, 0) counted from the bottom is the first stored row, red.  Top-down: the
    // first stored row is the top one, red as well.
    EXPECT_EQ(d->PixelColor(5, 5), kRed) << topDown;
  }
}

TEST(EmfPlayer, RasterOperations) {
  // Over a black background: SRCPAINT shows the source, SRCAND keeps black; NOTSRCCOPY inverts.
  struct Case {
    uint32_t rop;
    COLORREF atRed;
  } cases[] = {{SRCCOPY, kRed}, {SRCPAINT, kRed}, {SRCAND, kBlack}, {NOTSRCCOPY, RGB(0, 255, 255)}, {DSTINVERT, kWhite},
               {BLACKNESS, kBlack}, {WHITENESS, kWhite}};
  for (const Case& c : cases) {
    EmfBuilder b(40, 40);
    b.Rec(EMR_SELECTOBJECT, {kStockFlag | BLACK_BRUSH});
    NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 41, 41});
    b.Raw(EMR_STRETCHDIBITS, StretchDiBits(10, 10, 20, 20, c.rop));
    const auto d = Play(b.Build(), 40, 40);
    EXPECT_EQ(d->PixelColor(12, 28), c.atRed) << std::hex << c.rop;
    EXPECT_EQ(d->PixelColor(5, 5), kBlack) << std::hex << c.rop;
  }
}

TEST(EmfPlayer, BitBltWithoutSourcePaintsThePattern) {
  EmfBuilder b(40, 40);
  SolidBrush(b, 1, kBlue);
  b.Rec(EMR_BITBLT, {0, 0, 0, 0, 5, 5, 10, 10, PATCOPY, 0, 0, 0x3F800000, 0, 0, 0x3F800000, 0, 0, 0, 0, 0, 0, 0, 0});
  const auto d = Play(b.Build(), 40, 40);
  EXPECT_EQ(BoundsOf(*d, kBlue), (TRect{5, 5, 15, 15}));
}

// ---- damaged and unknown records ---------------------------------------------------------

TEST(EmfPlayer, UnknownRecordsAreSkipped) {
  EmfBuilder b(40, 40);
  b.Rec(0x7FFF, {1, 2, 3}).Rec(EMR_GDICOMMENT, {4, 0x2B464D45});
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 11, 11});
  const auto d = Play(b.Build(), 40, 40);
  EXPECT_EQ(d->PixelColor(5, 5), kRed);
}

struct DamageCase {
  const char* name;
  std::vector<uint8_t> record;
};

class EmfDamageTest : public ::testing::TestWithParam<DamageCase> {};

// A damaged record ends playback: what follows it is not drawn, and nothing is read outside.
TEST_P(EmfDamageTest, EndsPlayback) {
  EmfBuilder b(40, 40);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 11, 11});
  b.Bytes(GetParam().record);
  b.Rec(EMR_RECTANGLE, {20, 20, 31, 31});
  const auto d = Play(b.Build(), 40, 40);
  EXPECT_EQ(d->PixelColor(5, 5), kRed);
  EXPECT_EQ(d->PixelColor(25, 25), kWhite);
}

namespace {
std::vector<uint8_t> Le(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> out;
  for (uint32_t v : words)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return out;
}
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Records, EmfDamageTest,
    ::testing::Values(DamageCase{"sizeBelowHeader", Le({EMR_RECTANGLE, 4})},
                      DamageCase{"sizeNotWords", Le({EMR_SETBKMODE, 10, 1})},
                      DamageCase{"sizePastData", Le({EMR_RECTANGLE, 0x10000, 0, 0})},
                      DamageCase{"pointCountPastRecord", Le({EMR_POLYGON, 44, 0, 0, 9, 9, 0x40000000, 1, 1, 2, 2})},
                      DamageCase{"polyPolygonCounts", Le({EMR_POLYPOLYGON, 40, 0, 0, 9, 9, 0xFFFFFFF, 3, 1, 1})},
                      DamageCase{"textPastRecord", Le({EMR_EXTTEXTOUTW, 76, 0, 0, 0, 0, 1, 0, 0, 0, 0, 500, 76, 0,
                                                       0, 0, 0, 0, 0})},
                      DamageCase{"pointCount16PastRecord",
                                 Le({EMR_POLYLINE16, 32, 0, 0, 9, 9, 3, 0x00010001})}),
    [](const auto& info) { return std::string(info.param.name); });

// A record whose size fits the data but not its own fixed fields is left out; the records
// after it are still played.
TEST(EmfPlayer, RecordShorterThanItsFieldsIsSkipped) {
  EmfBuilder b(40, 40);
  SolidBrush(b, 1, kRed);
  NullPen(b).Bytes(Le({EMR_RECTANGLE, 16, 1, 2}));
  b.Bytes(Le({EMR_EXTCREATEFONTINDIRECTW, 12, 2}));
  b.Rec(EMR_RECTANGLE, {20, 20, 31, 31});
  const auto d = Play(b.Build(), 40, 40);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{20, 20, 30, 30}));
}

TEST(EmfPlayer, BitmapOffsetsOutsideTheRecordDrawNothing) {
  EmfBuilder b(40, 40);
  auto w = StretchDiBits(10, 10, 20, 20, SRCCOPY);
  w[12] = 4000;  // offBits
  b.Raw(EMR_STRETCHDIBITS, w);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 5, 5});
  const auto d = Play(b.Build(), 40, 40);
  EXPECT_EQ(d->PixelColor(15, 15), kWhite);
  EXPECT_EQ(d->PixelColor(1, 1), kRed);  // the record was whole: playback goes on
}

TEST(EmfPlayer, TransparentBltLeavesTheTransparentColourOut) {
  // The 2 x 2 bitmap's white pixel (top right) is the transparent colour.
  EmfBuilder b(40, 40);
  b.Rec(EMR_SELECTOBJECT, {kStockFlag | BLACK_BRUSH});
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 41, 41});
  const auto dib = StretchDiBits(0, 0, 0, 0, 0);  // its bitmap part: header and rows
  std::vector<uint32_t> w = {0, 0, 0, 0, 10, 10, 20, 20, kWhite, 0, 0, 0x3F800000, 0, 0, 0x3F800000, 0, 0,
                             0, 0, 108, 40, 148, 16, 2, 2};
  w.insert(w.end(), dib.begin() + 18, dib.end());
  b.Raw(EMR_TRANSPARENTBLT, w);
  const auto d = Play(b.Build(), 40, 40);
  EXPECT_EQ(d->PixelColor(12, 12), kGreen);
  EXPECT_EQ(d->PixelColor(27, 12), kBlack);  // white left out: the black below shows
  EXPECT_EQ(d->PixelColor(12, 27), kRed);
}

TEST(EmfPlayer, GradientFillBlendsAcrossTheRectangle) {
  EmfBuilder b(100, 20);
  // Two vertices: red at the left, blue at the right; one horizontal rectangle.
  b.Raw(EMR_GRADIENTFILL, {0, 0, 100, 20, 2, 1, GRADIENT_FILL_RECT_H,  //
                           0, 0, 0xFF00, 0,                            // x, y, red|green<<16, blue|alpha<<16
                           100, 20, 0, 0xFF00,                         //
                           0, 1});                                     // the rectangle's two vertices
  const auto d = Play(b.Build(), 100, 20);
  const COLORREF left = d->PixelColor(1, 10), mid = d->PixelColor(50, 10), right = d->PixelColor(98, 10);
  EXPECT_GT(GetRValue(left), 240);
  EXPECT_GT(GetBValue(right), 240);
  EXPECT_NEAR(GetRValue(mid), 128, 12);
  EXPECT_NEAR(GetBValue(mid), 128, 12);
}

TEST(EmfPlayer, MetaRegionOutlivesAClipReset) {
  EmfBuilder b(100, 100);
  SolidBrush(b, 1, kRed);
  NullPen(b).Rec(EMR_INTERSECTCLIPRECT, {0, 0, 50, 50}).Rec(EMR_SETMETARGN, {});
  b.Rec(EMR_EXTSELECTCLIPRGN, {0, RGN_COPY});
  b.Rec(EMR_RECTANGLE, {0, 0, 101, 101});
  const auto d = Play(b.Build(), 100, 100);
  EXPECT_EQ(BoundsOf(*d, kRed), (TRect{0, 0, 50, 50}));
}

TEST(EmfPlayer, SmallTextOutDrawsItsCharacters) {
  EmfBuilder b(100, 40);
  b.Rec(EMR_SETBKMODE, {TRANSPARENT});
  Font(b, 1, -20, "Liberation Sans");
  // x, y, count, options (no rectangle, 8-bit characters), graphics mode, scales, "HI"
  b.Rec(EMR_SMALLTEXTOUT, {10, 10, 2, ETO_NO_RECT | ETO_SMALL_CHARS, 1, 0, 0, 'H' | ('I' << 8)});
  const auto d = Play(b.Build(), 100, 40);
  const TRect ink = BoundsOf(*d, kBlack);
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Left, 14);
  EXPECT_GE(ink.Top, 11);
  EXPECT_LE(ink.Bottom, 31);
}

TEST(EmfPlayer, ArcFollowsTheArcDirection) {
  for (int direction : {AD_COUNTERCLOCKWISE, AD_CLOCKWISE}) {
    EmfBuilder b(60, 60);
    b.Rec(EMR_SETARCDIRECTION, {direction});
    b.Rec(EMR_ARC, {10, 10, 51, 51, 60, 30, 30, 0});  // from the right point to the top point
    const auto d = Play(b.Build(), 60, 60);
    auto inked = [&](int x0, int y0, int x1, int y1) {
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
          if (d->PixelColor(x, y) == kBlack) return true;
      return false;
    };
    const bool ccw = direction == AD_COUNTERCLOCKWISE;
    EXPECT_EQ(inked(38, 10, 52, 22), ccw) << direction;   // the upper right quarter
    EXPECT_EQ(inked(10, 38, 22, 52), !ccw) << direction;  // the lower left quarter
  }
}

TEST(EmfPlayer, DibPatternBrushTilesItsBitmap) {
  // An 8 x 8 1-bit pattern, colour 0 red and colour 1 blue, alternate rows.
  std::vector<uint32_t> w = {1, DIB_RGB_COLORS, 32, 48, 80, 32};
  const uint32_t info[10] = {40, 8, 8, 1 | (1 << 16), 0, 32, 0, 0, 2, 0};
  w.insert(w.end(), info, info + 10);
  w.push_back(0x00FF0000);  // red (blue, green, red, 0)
  w.push_back(0x000000FF);  // blue
  for (int row = 0; row < 8; ++row) w.push_back(row % 2 ? 0xFF : 0x00);
  EmfBuilder b(32, 32);
  b.Raw(EMR_CREATEDIBPATTERNBRUSHPT, w).Rec(EMR_SELECTOBJECT, {1});
  NullPen(b).Rec(EMR_RECTANGLE, {0, 0, 33, 33});
  const auto d = Play(b.Build(), 32, 32);
  // Rows alternate between the two colours.
  const COLORREF first = d->PixelColor(5, 8);
  EXPECT_TRUE(first == kRed || first == kBlue);
  EXPECT_NE(d->PixelColor(5, 9), first);
  EXPECT_EQ(d->PixelColor(5, 10), first);
  EXPECT_EQ(d->PixelColor(20, 10), first);
}
