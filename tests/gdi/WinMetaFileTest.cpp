// Windows-metafile records converted to an enhanced metafile: the header, the fitting of the
// picture, each record's translation, the object table and damaged input.
#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/MulDiv.h"
#include "platform/gdi/WinMetaFile.h"
#include "platform/rtl/ByteReader.h"
#include "tests/picture/MetafileBuilder.h"

namespace {

using metatest::Wmf;

struct Record {
  uint32_t type;
  std::vector<uint8_t> bytes;
  int32_t I32(size_t offset) const { return static_cast<int32_t>(ByteReader::U32At(bytes, offset)); }
  uint32_t U32(size_t offset) const { return ByteReader::U32At(bytes, offset); }
  uint16_t U16(size_t offset) const { return ByteReader::U16At(bytes, offset); }
};

// Every record of the enhanced metafile, checking that they tile it exactly.
std::vector<Record> Records(const std::vector<uint8_t>& emf) {
  std::vector<Record> out;
  size_t pos = 0;
  while (pos < emf.size()) {
    const uint32_t type = ByteReader::U32At(emf, pos), size = ByteReader::U32At(emf, pos + 4);
    EXPECT_GE(size, 8u);
    EXPECT_EQ(size % 4, 0u);
    if (size < 8 || size > emf.size() - pos) {
      ADD_FAILURE() << "record " << type << " of size " << size << " at " << pos;
      break;
    }
    out.push_back({type, std::vector<uint8_t>(emf.begin() + static_cast<ptrdiff_t>(pos),
                                              emf.begin() + static_cast<ptrdiff_t>(pos + size))});
    pos += size;
  }
  return out;
}

std::vector<uint8_t> Convert(const std::vector<uint8_t>& wmf, int mapMode = gdi::kMM_ANISOTROPIC, int x = 0, int y = 0) {
  auto emf = gdi::ConvertWinMetaFile(wmf, mapMode, x, y);
  if (!emf) {
    ADD_FAILURE() << "conversion refused";
    return {};
  }
  return *emf;
}

// The first record of a type after the fitting records at the start.
Record First(const std::vector<Record>& records, uint32_t type, size_t skip = 0) {
  for (const Record& r : records)
    if (r.type == type && skip-- == 0) return r;
  ADD_FAILURE() << "no record of type " << type;
  return Record{0, std::vector<uint8_t>(512, 0)};
}

size_t Count(const std::vector<Record>& records, uint32_t type) {
  return static_cast<size_t>(std::count_if(records.begin(), records.end(), [&](const Record& r) { return r.type == type; }));
}

// ---- The header and the fitting of the picture.

TEST(WinMetaFileHeader, DescribesTheBytesAndTheReferenceDevice) {
  const auto emf = Convert(Wmf().WindowExt(1000, 500).Rectangle(0, 0, 10, 10).Records());
  const auto records = Records(emf);
  ASSERT_GE(records.size(), 3u);
  const Record& h = records.front();
  EXPECT_EQ(h.type, 1u);
  EXPECT_EQ(h.bytes.size(), 100u);
  EXPECT_EQ(h.U32(40), 0x464D4520u);
  EXPECT_EQ(h.U32(44), 0x10000u);
  EXPECT_EQ(h.U32(48), emf.size());
  EXPECT_EQ(h.U32(52), records.size());
  EXPECT_EQ(h.I32(72), gdi::PrimaryScreenWidth());
  EXPECT_EQ(h.I32(76), gdi::PrimaryScreenHeight());
  EXPECT_EQ(h.I32(80), gdi::MulDiv(gdi::PrimaryScreenWidth(), 254, 960));
  EXPECT_EQ(h.I32(84), gdi::MulDiv(gdi::PrimaryScreenHeight(), 254, 960));
  EXPECT_EQ(records.back().type, 14u);
  EXPECT_EQ(records.back().U32(records.back().bytes.size() - 4), records.back().bytes.size());
}

TEST(WinMetaFileHeader, TwoStepsKeepTheWindowsSizeInPixels) {
  const auto wmf = Wmf().WindowOrg(-50, 20).WindowExt(1000, -500).Rectangle(0, 0, 10, 10).Records();
  const auto first = Records(Convert(wmf));
  const int32_t mmCx = first[0].I32(80), mmCy = first[0].I32(84);
  const int32_t devCx = first[0].I32(72), devCy = first[0].I32(76);
  // The window's extent taken as pixels of the reference device.
  EXPECT_EQ(first[0].I32(24), 0);
  EXPECT_EQ(first[0].I32(28), 0);
  EXPECT_EQ(first[0].I32(32), gdi::MulDiv(1000, mmCx * 100, devCx));
  EXPECT_EQ(first[0].I32(36), gdi::MulDiv(500, mmCy * 100, devCy));
  const auto second = Records(Convert(wmf, gdi::kMM_ANISOTROPIC, first[0].I32(32), first[0].I32(36)));
  EXPECT_EQ(second[0].I32(32), first[0].I32(32));
  EXPECT_EQ(second[0].I32(36), first[0].I32(36));
  EXPECT_EQ(second[0].I32(16), 999);  // bounds, inclusive
  EXPECT_EQ(second[0].I32(20), 499);
  // The window's origin lands at the frame's corner: viewport 0, 0 and the picture's size.
  EXPECT_EQ(First(second, 10).I32(8), -50);
  EXPECT_EQ(First(second, 10).I32(12), 20);
  EXPECT_EQ(First(second, 9).I32(12), -500);
  EXPECT_EQ(First(second, 12).I32(8), 0);
  EXPECT_EQ(First(second, 11).I32(8), 1000);
  EXPECT_EQ(First(second, 11).I32(12), 500);
  EXPECT_EQ(First(second, 17).U32(8), 8u);
}

TEST(WinMetaFileHeader, WithoutAWindowThePictureIsTheWholeReferenceDevice) {
  const auto records = Records(Convert(Wmf().Rectangle(0, 0, 10, 10).Records()));
  EXPECT_EQ(records[0].I32(16), gdi::PrimaryScreenWidth() - 1);
  EXPECT_EQ(records[0].I32(32), records[0].I32(80) * 100);
}

TEST(WinMetaFileHeader, FixedMappingModesTakeTheirOwnUnits) {
  // 1440 twips are an inch.
  const auto records = Records(Convert(Wmf().Rectangle(0, 0, 10, 10).Records(), gdi::kMM_TWIPS, 1440, 720));
  EXPECT_EQ(records[0].I32(32), 2540);
  EXPECT_EQ(records[0].I32(36), 1270);
  EXPECT_EQ(First(records, 17).U32(8), static_cast<uint32_t>(gdi::kMM_TWIPS));
  EXPECT_EQ(Count(records, 11), 0u);  // no viewport of ours
}

// ---- Each record's translation.

struct TranslationCase {
  const char* name;
  uint16_t function;
  std::vector<int> params;
  uint32_t type;
  std::vector<int32_t> fields;  // the 32-bit fields after the record's type and size
};

class WinMetaFileRecord : public ::testing::TestWithParam<TranslationCase> {};

TEST_P(WinMetaFileRecord, BecomesItsEnhancedEquivalent) {
  const TranslationCase& c = GetParam();
  Wmf w;
  w.WindowExt(100, 100);
  w.Record(c.function, c.params);
  const auto records = Records(Convert(w.Records()));
  // The last of its type: the fitting records at the start set the window too.
  const Record r = First(records, c.type, Count(records, c.type) - 1);
  ASSERT_EQ(r.bytes.size(), 8 + 4 * c.fields.size());
  for (size_t i = 0; i < c.fields.size(); ++i) EXPECT_EQ(r.I32(8 + 4 * i), c.fields[i]) << "field " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Table, WinMetaFileRecord,
    ::testing::Values(
        TranslationCase{"Rectangle", 0x041B, {40, 30, 20, 10}, 43, {10, 20, 30, 40}},
        TranslationCase{"Ellipse", 0x0418, {-4, -3, -2, -1}, 42, {-1, -2, -3, -4}},
        TranslationCase{"RoundRect", 0x061C, {6, 5, 40, 30, 20, 10}, 44, {10, 20, 30, 40, 5, 6}},
        TranslationCase{"Arc", 0x0817, {8, 7, 6, 5, 40, 30, 20, 10}, 45, {10, 20, 30, 40, 5, 6, 7, 8}},
        TranslationCase{"Pie", 0x081A, {8, 7, 6, 5, 40, 30, 20, 10}, 47, {10, 20, 30, 40, 5, 6, 7, 8}},
        TranslationCase{"Chord", 0x0830, {8, 7, 6, 5, 40, 30, 20, 10}, 46, {10, 20, 30, 40, 5, 6, 7, 8}},
        TranslationCase{"LineTo", 0x0213, {-7, 9}, 54, {9, -7}},
        TranslationCase{"MoveTo", 0x0214, {7, 9}, 27, {9, 7}},
        TranslationCase{"SetPixel", 0x041F, {0x3456, 0x0012, 5, 4}, 15, {4, 5, 0x123456}},
        TranslationCase{"FloodFill", 0x0419, {0x3456, 0x0012, 5, 4}, 53, {4, 5, 0x123456, 0}},
        TranslationCase{"ExtFloodFill", 0x0548, {1, 0x3456, 0x0012, 5, 4}, 53, {4, 5, 0x123456, 1}},
        TranslationCase{"SetBkColor", 0x0201, {0x3456, 0x0012}, 25, {0x123456}},
        TranslationCase{"SetTextColor", 0x0209, {0x3456, 0x0012}, 24, {0x123456}},
        TranslationCase{"SetBkModeWithItsPadding", 0x0102, {1, 0}, 18, {1}},
        TranslationCase{"SetRop2", 0x0104, {7}, 20, {7}},
        TranslationCase{"SetPolyFillMode", 0x0106, {2}, 19, {2}},
        TranslationCase{"SetStretchBltMode", 0x0107, {3}, 21, {3}},
        TranslationCase{"SetTextAlign", 0x012E, {24}, 22, {24}},
        TranslationCase{"SetMapperFlags", 0x0231, {1, 0}, 16, {1}},
        TranslationCase{"SetWindowOrg", 0x020B, {-20, 30}, 10, {30, -20}},
        TranslationCase{"SetWindowExt", 0x020C, {-20, 30}, 9, {30, -20}},
        TranslationCase{"OffsetWindowOrg", 0x020F, {3, 4}, 10, {4, 3}},
        TranslationCase{"ScaleWindowExt", 0x0410, {4, 3, 2, 1}, 32, {1, 2, 3, 4}},
        TranslationCase{"ExcludeClipRect", 0x0415, {40, 30, 20, 10}, 29, {10, 20, 30, 40}},
        TranslationCase{"IntersectClipRect", 0x0416, {40, 30, 20, 10}, 30, {10, 20, 30, 40}},
        TranslationCase{"OffsetClipRgn", 0x0220, {-2, 5}, 26, {5, -2}},
        TranslationCase{"SaveDC", 0x001E, {}, 33, {}},
        TranslationCase{"RestoreDC", 0x0127, {-1}, 34, {-1}},
        TranslationCase{"RealizePalette", 0x0035, {}, 52, {}}),
    [](const ::testing::TestParamInfo<TranslationCase>& info) { return std::string(info.param.name); });

TEST(WinMetaFileRecords, PolygonsKeepTheirSixteenBitPoints) {
  Wmf w;
  w.WindowExt(100, 100).Record(0x0324, {3, 1, 2, -3, 4, 5, -6}).Record(0x0325, {2, 7, 8, 9, 10});
  w.Record(0x0538, {2, 3, 2, 0, 0, 10, 0, 0, 10, 5, 5, 6, 6});
  const auto records = Records(Convert(w.Records()));
  const Record polygon = First(records, 86);
  EXPECT_EQ(polygon.I32(8), -3);  // bounds
  EXPECT_EQ(polygon.I32(12), -6);
  EXPECT_EQ(polygon.I32(16), 5);
  EXPECT_EQ(polygon.I32(20), 4);
  EXPECT_EQ(polygon.U32(24), 3u);
  EXPECT_EQ(static_cast<int16_t>(polygon.U16(32)), -3);
  EXPECT_EQ(static_cast<int16_t>(polygon.U16(38)), -6);
  EXPECT_EQ(First(records, 87).U32(24), 2u);
  const Record poly = First(records, 91);
  EXPECT_EQ(poly.U32(24), 2u);  // polygons
  EXPECT_EQ(poly.U32(28), 5u);  // points
  EXPECT_EQ(poly.U32(32), 3u);
  EXPECT_EQ(poly.U32(36), 2u);
  EXPECT_EQ(poly.U16(40 + 4 * 4 + 2), 6u);
}

TEST(WinMetaFileRecords, ViewportRecordsBelongToTheFittingOfAScalablePicture) {
  Wmf w;
  w.WindowExt(100, 100).Record(0x020E, {7, 7}).Record(0x020D, {3, 3}).Record(0x0211, {1, 1}).Record(0x0412,
                                                                                                      {1, 2, 1, 2});
  w.Record(0x0103, {1});  // MM_TEXT would undo the fitting
  const auto scalable = Records(Convert(w.Records()));
  EXPECT_EQ(Count(scalable, 11), 1u);
  EXPECT_EQ(Count(scalable, 12), 1u);
  EXPECT_EQ(Count(scalable, 31), 0u);
  EXPECT_EQ(Count(scalable, 17), 1u);
  const auto text = Records(Convert(w.Records(), gdi::kMM_TEXT, 100, 100));
  EXPECT_EQ(Count(text, 11), 1u);
  EXPECT_EQ(Count(text, 12), 2u);
  EXPECT_EQ(Count(text, 31), 1u);
  EXPECT_EQ(First(text, 12, 1).I32(8), 4);  // the offset origin
}

// ---- Objects.

TEST(WinMetaFileObjects, TakeTheLowestFreeSlotAndKeepTheirIndices) {
  Wmf w;
  w.WindowExt(10, 10).NullPen().SolidBrush(0xFF).Select(1).Delete(0).SolidBrush(0xFF00).Select(0);
  const auto records = Records(Convert(w.Records()));
  EXPECT_EQ(First(records, 38).U32(8), 1u);  // the pen in slot 0: handle 1
  EXPECT_EQ(First(records, 38).U32(12), 5u);
  EXPECT_EQ(First(records, 39).U32(8), 2u);
  EXPECT_EQ(First(records, 39).U32(16), 0xFFu);
  EXPECT_EQ(First(records, 37).U32(8), 2u);
  EXPECT_EQ(First(records, 40).U32(8), 1u);
  EXPECT_EQ(First(records, 39, 1).U32(8), 1u);  // the freed slot again
  EXPECT_EQ(First(records, 37, 1).U32(8), 1u);
  EXPECT_EQ(records[0].U16(56), 3u);  // handles, with the reserved 0
}

TEST(WinMetaFileObjects, SelectingOrDeletingAnEmptySlotWritesNothing) {
  const auto records = Records(Convert(Wmf().WindowExt(10, 10).Select(5).Delete(3).Records()));
  EXPECT_EQ(Count(records, 37), 0u);
  EXPECT_EQ(Count(records, 40), 0u);
}

TEST(WinMetaFileObjects, FontsBecomeWideDescriptions) {
  Wmf w;
  w.WindowExt(10, 10);
  metatest::Bytes font;
  font.U32(3 + 9 + 4).U16(0x02FB).I16(-24).I16(0).I16(900).I16(0).I16(700);
  for (uint8_t b : {1, 0, 0, 2, 0, 0, 0, 0}) font.Get().push_back(b);  // italic, ..., symbol charset
  for (uint8_t b : std::vector<uint8_t>{0xC9, 't', 'e', 0, 0, 0, 0, 0}) font.Get().push_back(b);
  w.Raw(font.Get());
  const auto records = Records(Convert(w.Records()));
  const Record f = First(records, 82);
  EXPECT_EQ(f.bytes.size(), 332u);
  EXPECT_EQ(f.U32(8), 1u);
  EXPECT_EQ(f.I32(12), -24);
  EXPECT_EQ(f.I32(20), 900);
  EXPECT_EQ(f.I32(28), 700);
  EXPECT_EQ(f.bytes[32], 1);
  EXPECT_EQ(f.bytes[35], 2);
  EXPECT_EQ(f.U16(40), 0x00C9u);
  EXPECT_EQ(f.U16(44), u'e');
  EXPECT_EQ(f.U16(46), 0u);
}

TEST(WinMetaFileObjects, RegionsClipAndFillWithTheirRectangles) {
  Wmf w;
  w.WindowExt(100, 100).SolidBrush(0xFF);
  // One scan from y 0 to 10 with two spans, bounding box 0, 0, 50, 10.
  w.Record(0x06FF, {0, 6, 0, 0, 0, 1, 4, 0, 0, 50, 10, 4, 0, 10, 0, 5, 20, 50, 4});
  w.Select(1).Record(0x0228, {1, 0}).Record(0x012C, {1}).Delete(1);
  const auto records = Records(Convert(w.Records()));
  const Record clip = First(records, 75);
  EXPECT_EQ(clip.U32(8), 32u + 32u);
  EXPECT_EQ(clip.U32(12), 5u);  // copy
  EXPECT_EQ(clip.U32(24), 2u);  // rectangles
  EXPECT_EQ(clip.I32(48), 0);   // first: 0, 0, 5, 10
  EXPECT_EQ(clip.I32(56), 5);
  EXPECT_EQ(clip.I32(64), 20);  // second: 20, 0, 50, 10
  EXPECT_EQ(clip.I32(72), 50);
  const Record fill = First(records, 71);
  EXPECT_EQ(fill.U32(28), 1u);  // the brush in slot 0
  EXPECT_EQ(fill.I32(16), 50);
  EXPECT_EQ(Count(records, 75), 2u);
  EXPECT_EQ(Count(records, 40), 0u);  // regions are no objects of the enhanced metafile
}

TEST(WinMetaFileObjects, PalettesReachTheEndRecordOnce) {
  Wmf w;
  w.WindowExt(10, 10);
  w.Record(0x00F7, {0x300, 2, 0x0201, 0x0003, 0x0605, 0x0004});
  w.Record(0x00F7, {0x300, 1, 0x0201, 0x0003});
  w.Record(0x0234, {1}).Record(0x0037, {0, 1, 0x0807, 0x0009});
  const auto records = Records(Convert(w.Records()));
  EXPECT_EQ(Count(records, 49), 2u);
  EXPECT_EQ(First(records, 48).U32(8), 2u);
  EXPECT_EQ(First(records, 50).U32(8), 2u);
  EXPECT_EQ(First(records, 50).U32(20), 0x00090807u);
  const Record& eof = records.back();
  EXPECT_EQ(eof.U32(8), 2u);
  EXPECT_EQ(eof.U32(16), 0x00030201u);
  EXPECT_EQ(eof.U32(20), 0x00040605u);
  EXPECT_EQ(records[0].U32(68), 2u);
}

TEST(WinMetaFileObjects, UnknownObjectsKeepTheirPlaceInTheTable) {
  Wmf w;
  w.WindowExt(10, 10).Record(0x00F8, {1, 2, 3}).SolidBrush(0xFF);
  const auto records = Records(Convert(w.Records()));
  EXPECT_EQ(First(records, 39).U32(8), 1u);
  EXPECT_EQ(First(records, 39).U32(12), 1u);  // hollow
  EXPECT_EQ(First(records, 39, 1).U32(8), 2u);
}

// ---- Text.

TEST(WinMetaFileText, AnsiTextBecomesWideWithItsSpacing) {
  Wmf w;
  w.WindowExt(10, 10);
  metatest::Bytes t;
  // ExtTextOut at 10, 20, three characters, clipped to a rectangle, with spacing.
  t.U32(3 + 4 + 4 + 2 + 3).U16(0x0A32).I16(20).I16(10).U16(3).U16(4).I16(1).I16(2).I16(3).I16(4);
  for (uint8_t b : std::vector<uint8_t>{'a', 0x80, 0xE9, 0}) t.Get().push_back(b);
  t.I16(5).I16(6).I16(7);
  w.Raw(t.Get());
  metatest::Bytes plain;
  plain.U32(3 + 1 + 1 + 2).U16(0x0521).U16(1);
  for (uint8_t b : std::vector<uint8_t>{'Z', 0}) plain.Get().push_back(b);
  plain.I16(8).I16(9);
  w.Raw(plain.Get());
  const auto records = Records(Convert(w.Records()));
  const Record e = First(records, 84);
  EXPECT_EQ(e.I32(36), 10);
  EXPECT_EQ(e.I32(40), 20);
  EXPECT_EQ(e.U32(44), 3u);
  const uint32_t offString = e.U32(48);
  EXPECT_EQ(e.U32(52), 4u);
  EXPECT_EQ(e.I32(56), 1);
  EXPECT_EQ(e.I32(68), 4);
  EXPECT_EQ(e.U16(offString), u'a');
  EXPECT_EQ(e.U16(offString + 2), 0x20ACu);
  EXPECT_EQ(e.U16(offString + 4), 0x00E9u);
  const uint32_t offDx = e.U32(72);
  ASSERT_NE(offDx, 0u);
  EXPECT_EQ(e.I32(offDx), 5);
  EXPECT_EQ(e.I32(offDx + 8), 7);
  const Record p = First(records, 84, 1);
  EXPECT_EQ(p.I32(36), 9);
  EXPECT_EQ(p.I32(40), 8);
  EXPECT_EQ(p.U32(44), 1u);
  EXPECT_EQ(p.U32(72), 0u);
  EXPECT_EQ(p.U16(p.U32(48)), u'Z');
}

// ---- Bitmaps.

TEST(WinMetaFileBitmaps, DeviceIndependentBitmapsAreSplitIntoInfoAndBits) {
  metatest::Bytes dib;  // 1 x 1, 24 bits
  dib.U32(40).I32(1).I32(1).U16(1).U16(24).U32(0).U32(4).U32(0).U32(0).U32(0).U32(0).U32(0x00112233);
  metatest::Bytes stretch;
  stretch.U32(static_cast<uint32_t>(3 + 2 + 9 + dib.Size() / 2)).U16(0x0F43).U32(0xCC0020).U16(0);
  stretch.I16(1).I16(1).I16(0).I16(0).I16(40).I16(30).I16(20).I16(10).Append(dib.Get());
  metatest::Bytes blt;  // a bit-block transfer without a bitmap
  blt.U32(3 + 2 + 7).U16(0x0940).U32(0x00F00021).I16(0).I16(0).I16(0).I16(5).I16(6).I16(7).I16(8);
  Wmf w;
  w.WindowExt(100, 100).Raw(stretch.Get()).Raw(blt.Get());
  const auto records = Records(Convert(w.Records()));
  const Record s = First(records, 81);
  EXPECT_EQ(s.I32(24), 10);  // destination x, y
  EXPECT_EQ(s.I32(28), 20);
  EXPECT_EQ(s.I32(40), 1);  // source size
  EXPECT_EQ(s.U32(48), 80u);
  EXPECT_EQ(s.U32(52), 40u);
  EXPECT_EQ(s.U32(56), 120u);
  EXPECT_EQ(s.U32(60), 4u);
  EXPECT_EQ(s.U32(68), 0xCC0020u);
  EXPECT_EQ(s.I32(72), 30);
  EXPECT_EQ(s.I32(76), 40);
  EXPECT_EQ(s.U32(120), 0x00112233u);
  const Record b = First(records, 76);
  EXPECT_EQ(b.bytes.size(), 100u);
  EXPECT_EQ(b.I32(24), 8);
  EXPECT_EQ(b.I32(28), 7);
  EXPECT_EQ(b.I32(32), 6);
  EXPECT_EQ(b.I32(36), 5);
  EXPECT_EQ(b.U32(40), 0x00F00021u);
  EXPECT_EQ(b.U32(88), 0u);
}

// ---- Damaged input.

TEST(WinMetaFileDamage, BadHeadersAndModesAreRefused) {
  const auto good = Wmf().WindowExt(10, 10).Records();
  EXPECT_TRUE(gdi::ConvertWinMetaFile(good, gdi::kMM_ANISOTROPIC, 0, 0));
  for (int mode : {0, 9, -1}) EXPECT_FALSE(gdi::ConvertWinMetaFile(good, mode, 0, 0)) << mode;
  auto badType = good;
  badType[0] = 3;
  auto badSize = good;
  badSize[2] = 8;
  const std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 17);
  for (const auto& bad : {badType, badSize, shortHeader}) EXPECT_FALSE(gdi::ConvertWinMetaFile(bad, gdi::kMM_ANISOTROPIC, 0, 0));
  EXPECT_EQ(gdi::SetWinMetaFileBits(badType, gdi::kMM_ANISOTROPIC, 0, 0), nullptr);
  EXPECT_NE(gdi::SetWinMetaFileBits(good, gdi::kMM_ANISOTROPIC, 0, 0), nullptr);
}

TEST(WinMetaFileDamage, ARecordThatDoesNotFitEndsTheRecords) {
  for (uint32_t words : {0u, 1u, 2u, 1000u}) {
    Wmf w;
    metatest::Bytes bad;
    bad.U32(words).U16(0x041B).I16(1).I16(2).I16(3).I16(4);
    w.WindowExt(10, 10).Rectangle(0, 0, 1, 1).Raw(bad.Get()).Rectangle(0, 0, 2, 2);
    const auto records = Records(Convert(w.Records()));
    EXPECT_EQ(Count(records, 43), 1u) << words;
    EXPECT_EQ(records.back().type, 14u);
  }
}

TEST(WinMetaFileDamage, ARecordShortOfItsParametersIsLeftOut) {
  const auto records = Records(Convert(Wmf()
                                           .WindowExt(10, 10)
                                           .Record(0x041B, {1, 2})
                                           .Record(0x0324, {50, 1, 1})
                                           .Record(0x0A32, {0, 0, 9, 0, 'a'})
                                           .Record(0x02FC, {0})
                                           .Rectangle(0, 0, 2, 2)
                                           .Records()));
  EXPECT_EQ(Count(records, 43), 1u);
  EXPECT_EQ(Count(records, 86), 0u);
  EXPECT_EQ(Count(records, 84), 0u);
  EXPECT_EQ(Count(records, 39), 0u);
}

}  // namespace
