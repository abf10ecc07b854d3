#include "platform/gdi/WinMetaFile.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <unordered_set>

#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/EmfWriter.h"
#include "platform/gdi/MulDiv.h"
#include "platform/rtl/ByteReader.h"

namespace gdi {
namespace {

// Windows-metafile record functions.
enum : uint16_t {
  META_EOF = 0x0000, META_SAVEDC = 0x001E, META_REALIZEPALETTE = 0x0035, META_SETPALENTRIES = 0x0037, META_SETBKMODE = 0x0102,
  META_SETMAPMODE = 0x0103, META_SETROP2 = 0x0104, META_SETPOLYFILLMODE = 0x0106, META_SETSTRETCHBLTMODE = 0x0107,
  META_RESTOREDC = 0x0127, META_INVERTREGION = 0x012A, META_PAINTREGION = 0x012B, META_SELECTCLIPREGION = 0x012C,
  META_SELECTOBJECT = 0x012D, META_SETTEXTALIGN = 0x012E, META_RESIZEPALETTE = 0x0139,
  META_DIBCREATEPATTERNBRUSH = 0x0142, META_SETLAYOUT = 0x0149, META_DELETEOBJECT = 0x01F0,
  META_CREATEPATTERNBRUSH = 0x01F9, META_SETBKCOLOR = 0x0201, META_SETTEXTCOLOR = 0x0209,
  META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_SETVIEWPORTORG = 0x020D,
  META_SETVIEWPORTEXT = 0x020E, META_OFFSETWINDOWORG = 0x020F, META_OFFSETVIEWPORTORG = 0x0211,
  META_LINETO = 0x0213, META_MOVETO = 0x0214, META_OFFSETCLIPRGN = 0x0220, META_FILLREGION = 0x0228,
  META_SETMAPPERFLAGS = 0x0231, META_SELECTPALETTE = 0x0234, META_CREATEPALETTE = 0x00F7,
  META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC,
  META_POLYGON = 0x0324, META_POLYLINE = 0x0325, META_SCALEWINDOWEXT = 0x0410, META_SCALEVIEWPORTEXT = 0x0412,
  META_EXCLUDECLIPRECT = 0x0415, META_INTERSECTCLIPRECT = 0x0416, META_ELLIPSE = 0x0418, META_FLOODFILL = 0x0419,
  META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F, META_FRAMEREGION = 0x0429, META_TEXTOUT = 0x0521,
  META_POLYPOLYGON = 0x0538, META_EXTFLOODFILL = 0x0548, META_ROUNDRECT = 0x061C, META_PATBLT = 0x061D,
  META_ESCAPE = 0x0626, META_CREATEREGION = 0x06FF, META_ARC = 0x0817, META_PIE = 0x081A, META_CHORD = 0x0830,
  META_BITBLT = 0x0922, META_DIBBITBLT = 0x0940, META_EXTTEXTOUT = 0x0A32, META_STRETCHBLT = 0x0B23,
  META_DIBSTRETCHBLT = 0x0B41, META_SETDIBTODEV = 0x0D33, META_STRETCHDIB = 0x0F43,
};

// Enhanced-metafile record types written here.
enum : uint32_t {
  EMR_SETWINDOWEXTEX = 9, EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12,
  EMR_SETPIXELV = 15, EMR_SETMAPPERFLAGS = 16, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20, EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_OFFSETCLIPRGN = 26, EMR_MOVETOEX = 27,
  EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31, EMR_SCALEWINDOWEXTEX = 32,
  EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46,
  EMR_PIE = 47, EMR_SELECTPALETTE = 48, EMR_CREATEPALETTE = 49, EMR_SETPALETTEENTRIES = 50,
  EMR_RESIZEPALETTE = 51, EMR_REALIZEPALETTE = 52, EMR_EXTFLOODFILL = 53, EMR_LINETO = 54, EMR_FILLRGN = 71,
  EMR_FRAMERGN = 72, EMR_INVERTRGN = 73, EMR_PAINTRGN = 74, EMR_EXTSELECTCLIPRGN = 75, EMR_BITBLT = 76,
  EMR_STRETCHBLT = 77, EMR_SETDIBITSTODEVICE = 80, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTW = 84, EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYPOLYGON16 = 91,
  EMR_CREATEDIBPATTERNBRUSHPT = 94, EMR_SETLAYOUT = 115,
};

constexpr size_t kWmfHeaderSize = 18;
constexpr uint16_t kWmfHeaderWords = 9;
constexpr size_t kMaxObjects = 0xFFFF;
constexpr uint32_t kRgnCopy = 5;
constexpr uint32_t kBsSolid = 0, kBsNull = 1, kBsPattern = 3;
constexpr uint32_t kDibRgbColors = 0, kDibPalColors = 1;
constexpr uint16_t kEtoOpaque = 2, kEtoClipped = 4;
constexpr uint8_t kSymbolCharset = 2;

bool Scalable(int mapMode) { return mapMode == kMM_ANISOTROPIC || mapMode == kMM_ISOTROPIC; }

// Windows-1252, the ANSI code page of the original system, to UTF-16.
char16_t Ansi(uint8_t c) {
  static constexpr char16_t k80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  return c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : static_cast<char16_t>(c);
}

// A Windows-metafile rectangle stored bottom, right, top, left.
TRect ReadReversedRect(ByteReader& r) {
  TRect rect;
  rect.Bottom = r.I16();
  rect.Right = r.I16();
  rect.Top = r.I16();
  rect.Left = r.I16();
  return rect;
}

// A device-independent bitmap split into its info block (header and colour table) and bits.
struct DibParts {
  std::span<const uint8_t> info, bits;
};

std::optional<DibParts> SplitDib(std::span<const uint8_t> dib, uint32_t usage) {
  if (dib.size() < 12) return std::nullopt;
  const uint32_t headerSize = ByteReader::U32At(dib, 0);
  uint64_t infoSize = 0;
  const uint64_t entrySize = usage == kDibPalColors ? 2 : (headerSize == 12 ? 3 : 4);
  if (headerSize == 12) {
    const uint16_t bits = ByteReader::U16At(dib, 10);
    infoSize = 12 + (bits <= 8 ? (uint64_t{1} << bits) * entrySize : 0);
  } else if (headerSize >= 40 && headerSize <= dib.size()) {
    const uint16_t bits = ByteReader::U16At(dib, 14);
    const uint32_t compression = ByteReader::U32At(dib, 16);
    const uint32_t used = ByteReader::U32At(dib, 32);
    const uint64_t entries = used ? used : (bits <= 8 ? (uint64_t{1} << bits) : 0);
    infoSize = headerSize + (compression == 3 && headerSize == 40 ? 12 : 0) + entries * entrySize;
  } else {
    return std::nullopt;
  }
  if (infoSize > dib.size()) return std::nullopt;
  return DibParts{dib.first(static_cast<size_t>(infoSize)), dib.subspan(static_cast<size_t>(infoSize))};
}

// A 1-bit device-dependent bitmap of the old bitmap records as a device-independent one.
std::vector<uint8_t> MonoBitmap16ToDib(ByteReader& r) {
  r.U16();  // type
  const int16_t width = r.I16(), height = r.I16();
  const uint16_t widthBytes = r.U16();
  const uint8_t planes = r.U8(), bitsPixel = r.U8();
  if (planes != 1 || bitsPixel != 1 || width <= 0 || height <= 0 || widthBytes < (width + 7) / 8) return {};
  const std::span<const uint8_t> bits = r.Take(static_cast<size_t>(widthBytes) * static_cast<size_t>(height));
  const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  std::vector<uint8_t> dib(40 + 8 + stride * static_cast<size_t>(height), 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) dib[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(width));
  put32(8, static_cast<uint32_t>(height));
  dib[12] = 1;
  dib[14] = 1;
  put32(32, 2);
  put32(44, 0x00FFFFFF);  // table: black, white
  for (int32_t y = 0; y < height; ++y) {
    const size_t from = static_cast<size_t>(y) * widthBytes;
    const size_t to = 48 + static_cast<size_t>(height - 1 - y) * stride;
    std::copy_n(bits.begin() + static_cast<ptrdiff_t>(from), std::min<size_t>(widthBytes, stride),
                dib.begin() + static_cast<ptrdiff_t>(to));
  }
  return dib;
}

class WmfConverter {
 public:
  WmfConverter(std::span<const uint8_t> wmf, int mapMode) : wmf_(wmf), mapMode_(mapMode) {}

  std::optional<std::vector<uint8_t>> Run(int xExt, int yExt);

 private:
  enum class Kind : uint8_t { Free, Object, Font, Palette, Region };
  struct Slot {
    Kind kind = Kind::Free;
    uint8_t charset = 0;
    std::vector<TRect> rects;  // a region's rectangles
    TRect bound{};
  };
  struct Extent {
    int32_t cx = 0, cy = 0;
  };
  struct DcState {
    TPoint windowOrg{}, viewportOrg{};
    uint8_t charset = 0;
  };

  bool ValidHeader() const;
  template <typename F>
  void ForEachRecord(F&& f) const;
  void FindWindow();
  void Prelude(int32_t px, int32_t py);
  void Translate(uint16_t function, ByteReader& r);
  void TranslateObject(uint16_t function, ByteReader& r);
  void TranslateBitmap(uint16_t function, ByteReader& r, bool withBitmap);
  void TranslateRegion(uint16_t function, ByteReader& r);

  int AddSlot(Kind kind);
  const Slot* SlotAt(uint16_t index) const;
  void Select(uint16_t index);
  void Delete(uint16_t index);

  void Points(uint32_t type, ByteReader& r);
  void PolyPolygon(ByteReader& r);
  void Box(uint32_t type, ByteReader& r);
  void ArcLike(uint32_t type, ByteReader& r);
  void Text(int32_t x, int32_t y, uint32_t options, const TRect& clip, std::span<const uint8_t> string,
            std::span<const uint8_t> dx);
  void StretchDib(int32_t xDest, int32_t yDest, int32_t cxDest, int32_t cyDest, int32_t xSrc, int32_t ySrc,
                  int32_t cxSrc, int32_t cySrc, uint32_t rop, uint32_t usage, const DibParts& dib);
  void Blt(uint32_t type, int32_t xDest, int32_t yDest, int32_t cxDest, int32_t cyDest, int32_t xSrc, int32_t ySrc,
           int32_t cxSrc, int32_t cySrc, uint32_t rop, const DibParts* dib);
  void RegionData(const Slot& region);
  static uint32_t RegionDataSize(const Slot& region) {
    return static_cast<uint32_t>(32 + 16 * region.rects.size());
  }

  std::span<const uint8_t> wmf_;
  int mapMode_;
  EmfWriter w_;
  std::optional<Extent> windowExt_;
  TPoint windowOrg_{};
  std::vector<Slot> slots_;
  std::set<size_t> freeSlots_;  // the lowest is taken first
  size_t highestSlot_ = 0;
  int selectedPalette_ = -1;
  DcState dc_;
  std::vector<DcState> saved_;
  std::vector<PaletteEntry> palette_;
  std::unordered_set<uint32_t> paletteSeen_;
};

bool WmfConverter::ValidHeader() const {
  if (wmf_.size() < kWmfHeaderSize) return false;
  const uint16_t type = ByteReader::U16At(wmf_, 0);
  return (type == 1 || type == 2) && ByteReader::U16At(wmf_, 2) == kWmfHeaderWords;
}

// Calls f(function, parameters) for each record up to the end record; a record whose size
// does not fit ends the walk.
template <typename F>
void WmfConverter::ForEachRecord(F&& f) const {
  size_t pos = kWmfHeaderSize;
  while (wmf_.size() - pos >= 6) {
    const uint64_t bytes = uint64_t{ByteReader::U32At(wmf_, pos)} * 2;
    const uint16_t function = ByteReader::U16At(wmf_, pos + 4);
    if (bytes < 6 || bytes > wmf_.size() - pos || function == META_EOF) return;
    ByteReader params(wmf_.subspan(pos + 6, static_cast<size_t>(bytes) - 6));
    f(function, params);
    pos += static_cast<size_t>(bytes);
  }
}

void WmfConverter::FindWindow() {
  bool haveOrg = false;
  ForEachRecord([&](uint16_t function, ByteReader& r) {
    if (r.Remaining() < 4) return;
    if (function == META_SETWINDOWEXT && !windowExt_) {
      const int16_t y = r.I16(), x = r.I16();
      windowExt_ = Extent{x, y};
    } else if (function == META_SETWINDOWORG && !haveOrg) {
      windowOrg_.Y = r.I16();
      windowOrg_.X = r.I16();
      haveOrg = true;
    }
  });
}

// Maps the picture's window onto px x py pixels of the reference device at 0, 0.
void WmfConverter::Prelude(int32_t px, int32_t py) {
  w_.Record(EMR_SETMAPMODE, static_cast<uint32_t>(mapMode_));
  if (!Scalable(mapMode_)) return;
  w_.Record(EMR_SETWINDOWORGEX, windowOrg_.X, windowOrg_.Y);
  if (windowExt_)
    w_.Record(EMR_SETWINDOWEXTEX, windowExt_->cx, windowExt_->cy);
  else
    w_.Record(EMR_SETWINDOWEXTEX, px, py);
  w_.Record(EMR_SETVIEWPORTORGEX, 0, 0);
  w_.Record(EMR_SETVIEWPORTEXTEX, px, py);
  dc_.windowOrg = windowOrg_;
}

std::optional<std::vector<uint8_t>> WmfConverter::Run(int xExt, int yExt) {
  if (!ValidHeader() || mapMode_ < kMM_TEXT || mapMode_ > kMM_ANISOTROPIC) return std::nullopt;
  FindWindow();

  // The reference device: the screen, at its logical resolution.
  const int32_t ppi = ScreenLogPixelsY();
  const int32_t devCx = std::max(PrimaryScreenWidth(), 1), devCy = std::max(PrimaryScreenHeight(), 1);
  const int32_t mmCx = std::max(MulDiv(devCx, 254, ppi * 10), 1), mmCy = std::max(MulDiv(devCy, 254, ppi * 10), 1);
  auto toPixelsX = [&](int32_t himetric) { return MulDiv(himetric, devCx, mmCx * 100); };
  auto toPixelsY = [&](int32_t himetric) { return MulDiv(himetric, devCy, mmCy * 100); };
  auto toHimetricX = [&](int32_t pixels) { return MulDiv(pixels, mmCx * 100, devCx); };
  auto toHimetricY = [&](int32_t pixels) { return MulDiv(pixels, mmCy * 100, devCy); };

  int32_t px = 0, py = 0, fx = 0, fy = 0;  // size in pixels and in hundredths of a millimetre
  if (Scalable(mapMode_) && xExt > 0 && yExt > 0) {
    fx = xExt, fy = yExt;
    px = toPixelsX(fx), py = toPixelsY(fy);
  } else if (mapMode_ == kMM_TEXT && xExt != 0 && yExt != 0) {
    px = std::abs(xExt), py = std::abs(yExt);
    fx = toHimetricX(px), fy = toHimetricY(py);
  } else if (!Scalable(mapMode_) && mapMode_ != kMM_TEXT && xExt != 0 && yExt != 0) {
    // Hundredths of a millimetre per unit, times 100: lometric, himetric, loenglish, hienglish, twips.
    static constexpr int32_t kScale[] = {1000, 100, 2540, 254, 0};
    const int64_t ax = std::abs(static_cast<int64_t>(xExt)), ay = std::abs(static_cast<int64_t>(yExt));
    const int32_t scale = kScale[mapMode_ - kMM_LOMETRIC];
    auto convert = [&](int64_t v) {
      const int64_t h = scale ? v * scale / 100 : v * 2540 / 1440;
      return static_cast<int32_t>(std::min<int64_t>(h, INT32_MAX));
    };
    fx = convert(ax), fy = convert(ay);
    px = toPixelsX(fx), py = toPixelsY(fy);
  } else if (windowExt_ && windowExt_->cx != 0 && windowExt_->cy != 0) {
    px = std::abs(windowExt_->cx), py = std::abs(windowExt_->cy);
    fx = toHimetricX(px), fy = toHimetricY(py);
  } else {
    px = devCx, py = devCy;
    fx = mmCx * 100, fy = mmCy * 100;
  }
  px = std::max(px, 1), py = std::max(py, 1), fx = std::max(fx, 1), fy = std::max(fy, 1);

  // Converted records take about twice the room of the originals (fonts and text more).
  w_.Reserve(wmf_.size() * 2 + 1024);
  Prelude(px, py);
  ForEachRecord([&](uint16_t function, ByteReader& r) {
    try {
      Translate(function, r);
    } catch (const EReadError&) {
      // A record too short for its parameters is left out, as a player skips it.
    }
  });

  EmfWriter::Description d;
  d.bounds = TRect{0, 0, px - 1, py - 1};
  d.frame = TRect{0, 0, fx, fy};
  d.handles = static_cast<uint16_t>(std::min<size_t>(highestSlot_ + 1, 0xFFFF));
  d.deviceCx = devCx, d.deviceCy = devCy, d.millimetersCx = mmCx, d.millimetersCy = mmCy;
  return w_.Finish(d, palette_);
}

int WmfConverter::AddSlot(Kind kind) {
  size_t index;
  if (!freeSlots_.empty()) {
    index = *freeSlots_.begin();
    freeSlots_.erase(freeSlots_.begin());
  } else {
    if (slots_.size() >= kMaxObjects) return -1;
    index = slots_.size();
    slots_.emplace_back();
  }
  slots_[index] = Slot{};
  slots_[index].kind = kind;
  highestSlot_ = std::max(highestSlot_, index + 1);
  return static_cast<int>(index);
}

const WmfConverter::Slot* WmfConverter::SlotAt(uint16_t index) const {
  if (index >= slots_.size() || slots_[index].kind == Kind::Free) return nullptr;
  return &slots_[index];
}

void WmfConverter::Select(uint16_t index) {
  const Slot* slot = SlotAt(index);
  if (!slot) return;
  if (slot->kind == Kind::Region) {
    // Selecting a region sets the clip region.
    w_.Begin(EMR_EXTSELECTCLIPRGN);
    w_.U32(RegionDataSize(*slot));
    w_.U32(kRgnCopy);
    RegionData(*slot);
    w_.End();
    return;
  }
  if (slot->kind == Kind::Font) dc_.charset = slot->charset;
  w_.Record(EMR_SELECTOBJECT, uint32_t{index} + 1);
}

void WmfConverter::Delete(uint16_t index) {
  const Slot* slot = SlotAt(index);
  if (!slot) return;
  if (slot->kind != Kind::Region) w_.Record(EMR_DELETEOBJECT, uint32_t{index} + 1);
  if (selectedPalette_ == index) selectedPalette_ = -1;
  slots_[index] = Slot{};
  freeSlots_.insert(index);
}

void WmfConverter::RegionData(const Slot& region) {
  w_.U32(32);
  w_.U32(1);  // rectangles
  w_.U32(static_cast<uint32_t>(region.rects.size()));
  w_.U32(static_cast<uint32_t>(16 * region.rects.size()));
  w_.Rect(region.bound);
  for (const TRect& r : region.rects) w_.Rect(r);
}

void WmfConverter::Points(uint32_t type, ByteReader& r) {
  const uint16_t count = r.U16();
  std::span<const uint8_t> points = r.Take(size_t{count} * 4);
  TRect bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (size_t i = 0; i < count; ++i) {
    const int32_t x = static_cast<int16_t>(ByteReader::U16At(points, i * 4));
    const int32_t y = static_cast<int16_t>(ByteReader::U16At(points, i * 4 + 2));
    bounds = TRect{std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x),
                   std::max(bounds.Bottom, y)};
  }
  if (count == 0) bounds = TRect{0, 0, -1, -1};
  w_.Begin(type);
  w_.Rect(bounds);
  w_.U32(count);
  w_.Bytes(points);
  w_.End();
}

void WmfConverter::PolyPolygon(ByteReader& r) {
  const uint16_t polygons = r.U16();
  std::span<const uint8_t> counts = r.Take(size_t{polygons} * 2);
  uint64_t total = 0;
  for (size_t i = 0; i < polygons; ++i) total += ByteReader::U16At(counts, i * 2);
  std::span<const uint8_t> points = r.Take(static_cast<size_t>(total) * 4);
  w_.Begin(EMR_POLYPOLYGON16);
  w_.Rect(TRect{0, 0, -1, -1});
  w_.U32(polygons);
  w_.U32(static_cast<uint32_t>(total));
  for (size_t i = 0; i < polygons; ++i) w_.U32(ByteReader::U16At(counts, i * 2));
  w_.Bytes(points);
  w_.End();
}

void WmfConverter::Box(uint32_t type, ByteReader& r) {
  const TRect box = ReadReversedRect(r);
  w_.Begin(type);
  w_.Rect(box);
  w_.End();
}

void WmfConverter::ArcLike(uint32_t type, ByteReader& r) {
  const int32_t yEnd = r.I16(), xEnd = r.I16(), yStart = r.I16(), xStart = r.I16();
  const TRect box = ReadReversedRect(r);
  w_.Begin(type);
  w_.Rect(box);
  w_.I32(xStart);
  w_.I32(yStart);
  w_.I32(xEnd);
  w_.I32(yEnd);
  w_.End();
}

void WmfConverter::Text(int32_t x, int32_t y, uint32_t options, const TRect& clip, std::span<const uint8_t> string,
                        std::span<const uint8_t> dx) {
  constexpr uint32_t kFixed = 76;
  const auto count = static_cast<uint32_t>(string.size());
  const uint32_t stringBytes = (count * 2 + 3) / 4 * 4;
  const bool spacing = dx.size() >= size_t{count} * 2;
  w_.Begin(EMR_EXTTEXTOUTW);
  w_.Rect(TRect{0, 0, -1, -1});
  w_.U32(1);  // compatible graphics mode
  w_.F32(0);
  w_.F32(0);
  w_.I32(x);
  w_.I32(y);
  w_.U32(count);
  w_.U32(kFixed);
  w_.U32(options);
  w_.Rect(clip);
  w_.U32(spacing ? kFixed + stringBytes : 0);
  for (uint8_t c : string) w_.U16(dc_.charset == kSymbolCharset ? c : Ansi(c));
  w_.Zeros(stringBytes - count * 2);
  if (spacing)
    for (size_t i = 0; i < count; ++i) w_.I32(static_cast<int16_t>(ByteReader::U16At(dx, i * 2)));
  w_.End();
}

void WmfConverter::StretchDib(int32_t xDest, int32_t yDest, int32_t cxDest, int32_t cyDest, int32_t xSrc,
                              int32_t ySrc, int32_t cxSrc, int32_t cySrc, uint32_t rop, uint32_t usage,
                              const DibParts& dib) {
  constexpr uint32_t kFixed = 80;
  const auto infoBytes = static_cast<uint32_t>((dib.info.size() + 3) / 4 * 4);
  w_.Begin(EMR_STRETCHDIBITS);
  w_.Rect(TRect{0, 0, -1, -1});
  for (int32_t v : {xDest, yDest, xSrc, ySrc, cxSrc, cySrc}) w_.I32(v);
  w_.U32(kFixed);
  w_.U32(static_cast<uint32_t>(dib.info.size()));
  w_.U32(kFixed + infoBytes);
  w_.U32(static_cast<uint32_t>(dib.bits.size()));
  w_.U32(usage);
  w_.U32(rop);
  w_.I32(cxDest);
  w_.I32(cyDest);
  w_.Bytes(dib.info);
  w_.Zeros(infoBytes - dib.info.size());
  w_.Bytes(dib.bits);
  w_.End();
}

// A bit-block transfer (EMR_BITBLT) or a stretched one (EMR_STRETCHBLT); without a bitmap it
// only combines the brush with the destination.
void WmfConverter::Blt(uint32_t type, int32_t xDest, int32_t yDest, int32_t cxDest, int32_t cyDest, int32_t xSrc,
                       int32_t ySrc, int32_t cxSrc, int32_t cySrc, uint32_t rop, const DibParts* dib) {
  const uint32_t fixed = type == EMR_STRETCHBLT ? 108 : 100;
  const uint32_t infoBytes = dib ? static_cast<uint32_t>((dib->info.size() + 3) / 4 * 4) : 0;
  w_.Begin(type);
  w_.Rect(TRect{0, 0, -1, -1});
  for (int32_t v : {xDest, yDest, cxDest, cyDest}) w_.I32(v);
  w_.U32(rop);
  w_.I32(xSrc);
  w_.I32(ySrc);
  for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) w_.F32(v);
  w_.U32(0);  // background colour of the source
  w_.U32(kDibRgbColors);
  w_.U32(dib ? fixed : 0);
  w_.U32(dib ? static_cast<uint32_t>(dib->info.size()) : 0);
  w_.U32(dib ? fixed + infoBytes : 0);
  w_.U32(dib ? static_cast<uint32_t>(dib->bits.size()) : 0);
  if (type == EMR_STRETCHBLT) {
    w_.I32(cxSrc);
    w_.I32(cySrc);
  }
  if (dib) {
    w_.Bytes(dib->info);
    w_.Zeros(infoBytes - dib->info.size());
    w_.Bytes(dib->bits);
  }
  w_.End();
}

void WmfConverter::TranslateBitmap(uint16_t function, ByteReader& r, bool withBitmap) {
  const uint32_t rop = r.U32();
  switch (function) {
    case META_PATBLT: {
      const int32_t h = r.I16(), w = r.I16(), y = r.I16(), x = r.I16();
      Blt(EMR_BITBLT, x, y, w, h, 0, 0, 0, 0, rop, nullptr);
      return;
    }
    case META_BITBLT:
    case META_DIBBITBLT: {
      const int32_t ySrc = r.I16(), xSrc = r.I16();
      if (!withBitmap) r.U16();
      const int32_t h = r.I16(), w = r.I16(), y = r.I16(), x = r.I16();
      if (!withBitmap) return Blt(EMR_BITBLT, x, y, w, h, xSrc, ySrc, 0, 0, rop, nullptr);
      std::vector<uint8_t> converted;
      std::span<const uint8_t> dib = r.Take(r.Remaining());
      if (function == META_BITBLT) {
        ByteReader b(dib);
        converted = MonoBitmap16ToDib(b);
        dib = converted;
      }
      if (const auto parts = SplitDib(dib, kDibRgbColors))
        Blt(EMR_BITBLT, x, y, w, h, xSrc, ySrc, 0, 0, rop, &*parts);
      return;
    }
    case META_STRETCHBLT:
    case META_DIBSTRETCHBLT: {
      const int32_t srcH = r.I16(), srcW = r.I16(), ySrc = r.I16(), xSrc = r.I16();
      if (!withBitmap) r.U16();
      const int32_t h = r.I16(), w = r.I16(), y = r.I16(), x = r.I16();
      if (!withBitmap) return Blt(EMR_BITBLT, x, y, w, h, xSrc, ySrc, 0, 0, rop, nullptr);
      std::vector<uint8_t> converted;
      std::span<const uint8_t> dib = r.Take(r.Remaining());
      if (function == META_STRETCHBLT) {
        ByteReader b(dib);
        converted = MonoBitmap16ToDib(b);
        dib = converted;
      }
      if (const auto parts = SplitDib(dib, kDibRgbColors))
        Blt(EMR_STRETCHBLT, x, y, w, h, xSrc, ySrc, srcW, srcH, rop, &*parts);
      return;
    }
    case META_STRETCHDIB: {
      const uint32_t usage = r.U16();
      const int32_t srcH = r.I16(), srcW = r.I16(), ySrc = r.I16(), xSrc = r.I16();
      const int32_t h = r.I16(), w = r.I16(), y = r.I16(), x = r.I16();
      if (const auto parts = SplitDib(r.Take(r.Remaining()), usage))
        StretchDib(x, y, w, h, xSrc, ySrc, srcW, srcH, rop, usage, *parts);
      return;
    }
    default:
      return;
  }
}

void WmfConverter::TranslateRegion(uint16_t function, ByteReader& r) {
  const Slot* region = SlotAt(r.U16());
  if (function == META_SELECTCLIPREGION) {
    if (region && region->kind == Kind::Region) {
      w_.Begin(EMR_EXTSELECTCLIPRGN);
      w_.U32(RegionDataSize(*region));
      w_.U32(kRgnCopy);
      RegionData(*region);
      w_.End();
    } else {
      w_.Begin(EMR_EXTSELECTCLIPRGN);  // no region: the clip is reset
      w_.U32(0);
      w_.U32(kRgnCopy);
      w_.End();
    }
    return;
  }
  if (!region || region->kind != Kind::Region) return;
  const uint32_t type = function == META_FILLREGION     ? EMR_FILLRGN
                        : function == META_FRAMEREGION  ? EMR_FRAMERGN
                        : function == META_INVERTREGION ? EMR_INVERTRGN
                                                        : EMR_PAINTRGN;
  uint16_t brush = 0;
  int32_t height = 0, width = 0;
  if (type == EMR_FILLRGN || type == EMR_FRAMERGN) brush = r.U16();
  if (type == EMR_FRAMERGN) height = r.I16(), width = r.I16();
  w_.Begin(type);
  w_.Rect(region->bound);
  w_.U32(RegionDataSize(*region));
  if (type == EMR_FILLRGN || type == EMR_FRAMERGN) w_.U32(uint32_t{brush} + 1);
  if (type == EMR_FRAMERGN) {
    w_.I32(width);
    w_.I32(height);
  }
  RegionData(*region);
  w_.End();
}

void WmfConverter::TranslateObject(uint16_t function, ByteReader& r) {
  switch (function) {
    case META_CREATEPENINDIRECT: {
      const uint16_t style = r.U16();
      const int16_t width = r.I16();
      r.I16();
      const uint32_t color = r.U32();
      const int slot = AddSlot(Kind::Object);
      if (slot < 0) return;
      w_.Begin(EMR_CREATEPEN);
      w_.U32(static_cast<uint32_t>(slot) + 1);
      w_.U32(style);
      w_.I32(width);
      w_.I32(0);
      w_.U32(color);
      w_.End();
      return;
    }
    case META_CREATEBRUSHINDIRECT: {
      uint32_t style = r.U16();
      const uint32_t color = r.U32();
      const uint32_t hatch = r.Remaining() >= 2 ? r.U16() : 0;
      if (style == kBsPattern || style > 6) style = kBsSolid;
      const int slot = AddSlot(Kind::Object);
      if (slot < 0) return;
      w_.Begin(EMR_CREATEBRUSHINDIRECT);
      w_.U32(static_cast<uint32_t>(slot) + 1);
      w_.U32(style);
      w_.U32(color);
      w_.U32(hatch);
      w_.End();
      return;
    }
    case META_CREATEFONTINDIRECT: {
      const int16_t height = r.I16(), width = r.I16(), escapement = r.I16(), orientation = r.I16();
      const int16_t weight = r.I16();
      uint8_t flags[8];
      r.Read(flags, sizeof flags);  // italic .. pitch and family
      std::u16string face;
      while (face.size() < 31 && !r.AtEnd()) {
        const uint8_t c = r.U8();
        if (c == 0) break;
        face.push_back(Ansi(c));
      }
      const int slot = AddSlot(Kind::Font);
      if (slot < 0) return;
      slots_[static_cast<size_t>(slot)].charset = flags[3];
      w_.Begin(EMR_EXTCREATEFONTINDIRECTW);
      w_.U32(static_cast<uint32_t>(slot) + 1);
      for (int32_t v : {int32_t{height}, int32_t{width}, int32_t{escapement}, int32_t{orientation}, int32_t{weight}})
        w_.I32(v);
      for (uint8_t f : flags) w_.U8(f);
      for (size_t i = 0; i < 32; ++i) w_.U16(i < face.size() ? face[i] : 0);
      w_.Zeros(332 - 104);  // the rest of the extended description
      w_.End();
      return;
    }
    case META_CREATEPALETTE: {
      r.U16();  // version
      const uint16_t count = r.U16();
      std::span<const uint8_t> entries = r.Take(size_t{count} * 4);
      const int slot = AddSlot(Kind::Palette);
      if (slot < 0) return;
      w_.Begin(EMR_CREATEPALETTE);
      w_.U32(static_cast<uint32_t>(slot) + 1);
      w_.U16(0x300);
      w_.U16(count);
      w_.Bytes(entries);
      w_.End();
      for (size_t i = 0; i < count; ++i) {
        const uint32_t key = ByteReader::U32At(entries, i * 4);
        if (paletteSeen_.insert(key).second)
          palette_.push_back(PaletteEntry{entries[i * 4], entries[i * 4 + 1], entries[i * 4 + 2], entries[i * 4 + 3]});
      }
      return;
    }
    case META_DIBCREATEPATTERNBRUSH: {
      const uint16_t style = r.U16();
      const uint32_t usage = r.U16();
      std::vector<uint8_t> converted;
      std::span<const uint8_t> dib = r.Take(r.Remaining());
      if (style == kBsPattern) {
        ByteReader b(dib);
        converted = MonoBitmap16ToDib(b);
        dib = converted;
      }
      const int slot = AddSlot(Kind::Object);
      if (slot < 0) return;
      const auto parts = SplitDib(dib, usage);
      if (!parts) {
        w_.Begin(EMR_CREATEBRUSHINDIRECT);  // keeps the object's place
        w_.U32(static_cast<uint32_t>(slot) + 1);
        w_.U32(kBsNull);
        w_.U32(0);
        w_.U32(0);
        w_.End();
        return;
      }
      constexpr uint32_t kFixed = 32;
      const auto infoBytes = static_cast<uint32_t>((parts->info.size() + 3) / 4 * 4);
      w_.Begin(EMR_CREATEDIBPATTERNBRUSHPT);
      w_.U32(static_cast<uint32_t>(slot) + 1);
      w_.U32(usage);
      w_.U32(kFixed);
      w_.U32(static_cast<uint32_t>(parts->info.size()));
      w_.U32(kFixed + infoBytes);
      w_.U32(static_cast<uint32_t>(parts->bits.size()));
      w_.Bytes(parts->info);
      w_.Zeros(infoBytes - parts->info.size());
      w_.Bytes(parts->bits);
      w_.End();
      return;
    }
    case META_CREATEREGION: {
      r.Skip(2 + 2 + 4 + 2);  // next in chain, object type, object count, region size
      const uint16_t scans = r.U16();
      r.U16();  // largest scan
      Slot region;
      region.kind = Kind::Region;
      region.bound.Left = r.I16();
      region.bound.Top = r.I16();
      region.bound.Right = r.I16();
      region.bound.Bottom = r.I16();
      for (size_t s = 0; s < scans; ++s) {
        const uint16_t count = r.U16();
        const int32_t top = r.I16(), bottom = r.I16();
        for (size_t i = 0; i < count / 2; ++i) {
          const int32_t left = r.I16(), right = r.I16();
          region.rects.push_back(TRect{left, top, right, bottom});
        }
        r.U16();  // count again
      }
      const int slot = AddSlot(Kind::Region);
      if (slot >= 0) slots_[static_cast<size_t>(slot)] = std::move(region);
      return;
    }
    default: {
      // Any other object (an old pattern brush, a bitmap): its place in the table is kept
      // with a hollow brush.
      const int slot = AddSlot(Kind::Object);
      if (slot < 0) return;
      w_.Begin(EMR_CREATEBRUSHINDIRECT);
      w_.U32(static_cast<uint32_t>(slot) + 1);
      w_.U32(kBsNull);
      w_.U32(0);
      w_.U32(0);
      w_.End();
      return;
    }
  }
}

void WmfConverter::Translate(uint16_t function, ByteReader& r) {
  const bool scalable = Scalable(mapMode_);
  switch (function) {
    case META_SETBKCOLOR: return w_.Record(EMR_SETBKCOLOR, r.U32());
    case META_SETTEXTCOLOR: return w_.Record(EMR_SETTEXTCOLOR, r.U32());
    case META_SETMAPPERFLAGS: return w_.Record(EMR_SETMAPPERFLAGS, r.U32());
    case META_SETBKMODE: return w_.Record(EMR_SETBKMODE, uint32_t{r.U16()});
    case META_SETROP2: return w_.Record(EMR_SETROP2, uint32_t{r.U16()});
    case META_SETPOLYFILLMODE: return w_.Record(EMR_SETPOLYFILLMODE, uint32_t{r.U16()});
    case META_SETSTRETCHBLTMODE: return w_.Record(EMR_SETSTRETCHBLTMODE, uint32_t{r.U16()});
    case META_SETTEXTALIGN: return w_.Record(EMR_SETTEXTALIGN, uint32_t{r.U16()});
    case META_SETLAYOUT: return w_.Record(EMR_SETLAYOUT, uint32_t{r.U16()});
    case META_SETMAPMODE: {
      const uint16_t mode = r.U16();
      // A scalable picture keeps its scaling: only the scalable modes pass.
      if (!scalable || Scalable(mode)) w_.Record(EMR_SETMAPMODE, uint32_t{mode});
      return;
    }
    case META_SETWINDOWORG: {
      const int32_t y = r.I16(), x = r.I16();
      dc_.windowOrg = TPoint{x, y};
      return w_.Record(EMR_SETWINDOWORGEX, x, y);
    }
    case META_SETWINDOWEXT: {
      const int32_t y = r.I16(), x = r.I16();
      return w_.Record(EMR_SETWINDOWEXTEX, x, y);
    }
    case META_OFFSETWINDOWORG: {
      const int32_t y = r.I16(), x = r.I16();
      dc_.windowOrg = TPoint{dc_.windowOrg.X + x, dc_.windowOrg.Y + y};
      return w_.Record(EMR_SETWINDOWORGEX, dc_.windowOrg.X, dc_.windowOrg.Y);
    }
    case META_SCALEWINDOWEXT: {
      const int32_t yDenom = r.I16(), yNum = r.I16(), xDenom = r.I16(), xNum = r.I16();
      w_.Begin(EMR_SCALEWINDOWEXTEX);
      for (int32_t v : {xNum, xDenom, yNum, yDenom}) w_.I32(v);
      return w_.End();
    }
    // The viewport belongs to whoever places a scalable picture.
    case META_SETVIEWPORTORG: {
      if (scalable) return;
      const int32_t y = r.I16(), x = r.I16();
      dc_.viewportOrg = TPoint{x, y};
      return w_.Record(EMR_SETVIEWPORTORGEX, x, y);
    }
    case META_SETVIEWPORTEXT: {
      if (scalable) return;
      const int32_t y = r.I16(), x = r.I16();
      return w_.Record(EMR_SETVIEWPORTEXTEX, x, y);
    }
    case META_OFFSETVIEWPORTORG: {
      if (scalable) return;
      const int32_t y = r.I16(), x = r.I16();
      dc_.viewportOrg = TPoint{dc_.viewportOrg.X + x, dc_.viewportOrg.Y + y};
      return w_.Record(EMR_SETVIEWPORTORGEX, dc_.viewportOrg.X, dc_.viewportOrg.Y);
    }
    case META_SCALEVIEWPORTEXT: {
      if (scalable) return;
      const int32_t yDenom = r.I16(), yNum = r.I16(), xDenom = r.I16(), xNum = r.I16();
      w_.Begin(EMR_SCALEVIEWPORTEXTEX);
      for (int32_t v : {xNum, xDenom, yNum, yDenom}) w_.I32(v);
      return w_.End();
    }
    case META_SAVEDC:
      saved_.push_back(dc_);
      return w_.Record(EMR_SAVEDC);
    case META_RESTOREDC: {
      const int32_t which = r.I16();
      size_t depth = saved_.size();
      if (which < 0 && static_cast<size_t>(-which) <= saved_.size())
        depth = saved_.size() + static_cast<size_t>(which);
      else if (which > 0 && static_cast<size_t>(which) <= saved_.size())
        depth = static_cast<size_t>(which) - 1;
      if (depth < saved_.size()) {
        dc_ = saved_[depth];
        saved_.resize(depth);
      }
      return w_.Record(EMR_RESTOREDC, static_cast<uint32_t>(which));
    }
    case META_MOVETO:
    case META_LINETO: {
      const int32_t y = r.I16(), x = r.I16();
      return w_.Record(function == META_MOVETO ? EMR_MOVETOEX : EMR_LINETO, x, y);
    }
    case META_SETPIXEL: {
      const uint32_t color = r.U32();
      const int32_t y = r.I16(), x = r.I16();
      w_.Begin(EMR_SETPIXELV);
      w_.I32(x);
      w_.I32(y);
      w_.U32(color);
      return w_.End();
    }
    case META_FLOODFILL:
    case META_EXTFLOODFILL: {
      const uint32_t mode = function == META_EXTFLOODFILL ? r.U16() : 0;
      const uint32_t color = r.U32();
      const int32_t y = r.I16(), x = r.I16();
      w_.Begin(EMR_EXTFLOODFILL);
      w_.I32(x);
      w_.I32(y);
      w_.U32(color);
      w_.U32(mode);
      return w_.End();
    }
    case META_EXCLUDECLIPRECT: return Box(EMR_EXCLUDECLIPRECT, r);
    case META_INTERSECTCLIPRECT: return Box(EMR_INTERSECTCLIPRECT, r);
    case META_OFFSETCLIPRGN: {
      const int32_t y = r.I16(), x = r.I16();
      return w_.Record(EMR_OFFSETCLIPRGN, x, y);
    }
    case META_ELLIPSE: return Box(EMR_ELLIPSE, r);
    case META_RECTANGLE: return Box(EMR_RECTANGLE, r);
    case META_ROUNDRECT: {
      const int32_t h = r.I16(), w = r.I16();
      const TRect box = ReadReversedRect(r);
      w_.Begin(EMR_ROUNDRECT);
      w_.Rect(box);
      w_.I32(w);
      w_.I32(h);
      return w_.End();
    }
    case META_ARC: return ArcLike(EMR_ARC, r);
    case META_PIE: return ArcLike(EMR_PIE, r);
    case META_CHORD: return ArcLike(EMR_CHORD, r);
    case META_POLYGON: return Points(EMR_POLYGON16, r);
    case META_POLYLINE: return Points(EMR_POLYLINE16, r);
    case META_POLYPOLYGON: return PolyPolygon(r);
    case META_TEXTOUT: {
      const uint16_t length = r.U16();
      const std::span<const uint8_t> string = r.Take(length);
      if (length % 2 && !r.AtEnd()) r.Skip(1);
      const int32_t y = r.I16(), x = r.I16();
      return Text(x, y, 0, TRect{0, 0, -1, -1}, string, {});
    }
    case META_EXTTEXTOUT: {
      const int32_t y = r.I16(), x = r.I16();
      const uint16_t length = r.U16(), options = r.U16();
      TRect clip{0, 0, -1, -1};
      if (options & (kEtoOpaque | kEtoClipped)) {
        clip.Left = r.I16();
        clip.Top = r.I16();
        clip.Right = r.I16();
        clip.Bottom = r.I16();
      }
      const std::span<const uint8_t> string = r.Take(length);
      if (length % 2 && !r.AtEnd()) r.Skip(1);
      return Text(x, y, options, clip, string, r.Take(r.Remaining()));
    }
    case META_SELECTOBJECT: return Select(r.U16());
    case META_DELETEOBJECT: return Delete(r.U16());
    case META_SELECTPALETTE: {
      const uint16_t index = r.U16();
      const Slot* slot = SlotAt(index);
      if (!slot || slot->kind != Kind::Palette) return;
      selectedPalette_ = index;
      return w_.Record(EMR_SELECTPALETTE, uint32_t{index} + 1);
    }
    case META_REALIZEPALETTE: return w_.Record(EMR_REALIZEPALETTE);
    case META_SETPALENTRIES: {
      const uint16_t start = r.U16(), count = r.U16();
      const std::span<const uint8_t> entries = r.Take(size_t{count} * 4);
      if (selectedPalette_ < 0) return;
      w_.Begin(EMR_SETPALETTEENTRIES);
      w_.U32(static_cast<uint32_t>(selectedPalette_) + 1);
      w_.U32(start);
      w_.U32(count);
      w_.Bytes(entries);
      return w_.End();
    }
    case META_RESIZEPALETTE: {
      const uint16_t count = r.U16();
      if (selectedPalette_ < 0) return;
      w_.Begin(EMR_RESIZEPALETTE);
      w_.U32(static_cast<uint32_t>(selectedPalette_) + 1);
      w_.U32(count);
      return w_.End();
    }
    case META_FILLREGION:
    case META_FRAMEREGION:
    case META_INVERTREGION:
    case META_PAINTREGION:
    case META_SELECTCLIPREGION: return TranslateRegion(function, r);
    case META_PATBLT: return TranslateBitmap(function, r, false);
    case META_BITBLT:
    case META_DIBBITBLT:
    case META_STRETCHBLT:
    case META_DIBSTRETCHBLT: {
      // The forms without a bitmap are exactly as long as their parameters.
      const bool withBitmap = r.Size() != (size_t{function} >> 8) * 2;
      return TranslateBitmap(function, r, withBitmap);
    }
    case META_STRETCHDIB: return TranslateBitmap(function, r, true);
    case META_SETDIBTODEV: {
      const uint32_t usage = r.U16();
      const int32_t scans = r.U16(), start = r.U16(), ySrc = r.I16(), xSrc = r.I16();
      const int32_t h = r.I16(), w = r.I16(), y = r.I16(), x = r.I16();
      const auto parts = SplitDib(r.Take(r.Remaining()), usage);
      if (!parts) return;
      constexpr uint32_t kFixed = 76;
      const auto infoBytes = static_cast<uint32_t>((parts->info.size() + 3) / 4 * 4);
      w_.Begin(EMR_SETDIBITSTODEVICE);
      w_.Rect(TRect{0, 0, -1, -1});
      for (int32_t v : {x, y, xSrc, ySrc, w, h}) w_.I32(v);
      w_.U32(kFixed);
      w_.U32(static_cast<uint32_t>(parts->info.size()));
      w_.U32(kFixed + infoBytes);
      w_.U32(static_cast<uint32_t>(parts->bits.size()));
      w_.U32(usage);
      w_.I32(start);
      w_.I32(scans);
      w_.Bytes(parts->info);
      w_.Zeros(infoBytes - parts->info.size());
      w_.Bytes(parts->bits);
      return w_.End();
    }
    case META_ESCAPE: return;
    default:
      // Every function whose low byte is 0xF7 or above creates an object.
      if ((function & 0xFF) >= 0xF7) return TranslateObject(function, r);
      if (function == META_DIBCREATEPATTERNBRUSH) return TranslateObject(function, r);
      return;
  }
}

}  // namespace

std::optional<std::vector<uint8_t>> ConvertWinMetaFile(std::span<const uint8_t> wmfRecords, int mapMode, int xExt,
                                                       int yExt) {
  return WmfConverter(wmfRecords, mapMode).Run(xExt, yExt);
}

HENHMETAFILE SetWinMetaFileBits(std::span<const uint8_t> wmfRecords, int mapMode, int xExt, int yExt) {
  auto bytes = ConvertWinMetaFile(wmfRecords, mapMode, xExt, yExt);
  if (!bytes) return nullptr;
  return SetEnhMetaFileBits(*bytes);
}

}  // namespace gdi
