#include "picture/BitmapFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Rle.h"
#include "platform/rtl/ByteReader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;

[[noreturn]] void Refuse() { throw EInvalidGraphic(msg::SInvalidBitmap); }

// The fields of the info header that reading uses.
struct InfoHeader {
  uint32_t size = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  uint32_t clrUsed = 0;
  uint32_t masks[3] = {0, 0, 0};
};

InfoHeader ReadInfoHeader(ByteReader& r) {
  InfoHeader h;
  // A file that ends inside its info header is refused as content, not as a short read.
  if (r.Remaining() < 4) Refuse();
  h.size = r.U32();
  if (h.size == kCoreHeaderSize) {
    if (r.Remaining() < 8) Refuse();
    h.width = r.U16();
    h.height = r.U16();
    h.planes = r.U16();
    h.bitCount = r.U16();
    return h;
  }
  if (h.size < kInfoHeaderSize || h.size - 4 > r.Remaining()) Refuse();
  ByteReader f(r.Take(h.size - 4));
  h.width = f.I32();
  h.height = f.I32();
  h.planes = f.U16();
  h.bitCount = f.U16();
  h.compression = f.U32();
  h.sizeImage = f.U32();
  f.Skip(8);  // resolution
  h.clrUsed = f.U32();
  f.Skip(4);  // important colours
  if (f.Remaining() >= 12)
    for (uint32_t& m : h.masks) m = f.U32();
  return h;
}

std::vector<gdi::RGBQuad> ReadColorTable(ByteReader& r, uint32_t count, bool core) {
  std::vector<gdi::RGBQuad> colors(count);
  for (auto& c : colors) {
    c.blue = r.U8();
    c.green = r.U8();
    c.red = r.U8();
    c.reserved = core ? 0 : r.U8();
  }
  return colors;
}

uint32_t ColorCount(const InfoHeader& h) {
  if (h.clrUsed != 0) return h.clrUsed;
  switch (h.bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

bool ValidBitCount(uint16_t bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

gdi::DibHeader StoreHeader(const InfoHeader& h) {
  gdi::DibHeader d;
  d.width = h.width;
  d.height = h.height;
  d.planes = 1;
  d.bitCount = h.bitCount;
  d.compression = h.compression;
  if (h.compression == gdi::BI_BITFIELDS) {
    d.redMask = h.masks[0];
    d.greenMask = h.masks[1];
    d.blueMask = h.masks[2];
  }
  return d;
}

std::unique_ptr<gdi::Dib> MakeStore(const gdi::DibHeader& header, std::vector<gdi::RGBQuad> colors) {
  if (!gdi::DibFits(header)) Refuse();  // invalid format, or more memory than a picture may take
  auto store = gdi::Dib::Create(header, std::move(colors));
  if (!store) throw EOutOfResources();
  return store;
}

TBitmapImage ReadPlain(const InfoHeader& h, std::vector<gdi::RGBQuad> colors, std::span<const uint8_t> data) {
  if (!ValidBitCount(h.bitCount)) Refuse();
  if (h.compression == gdi::BI_BITFIELDS && h.bitCount != 16 && h.bitCount != 32) Refuse();
  TBitmapImage image;
  image.Store = MakeStore(StoreHeader(h), std::move(colors));
  const size_t n = std::min(data.size(), image.Store->ByteSize());
  if (n > 0) std::memcpy(image.Store->Bits(), data.data(), n);
  return image;
}

TBitmapImage ReadCompressed(const InfoHeader& h, const std::vector<gdi::RGBQuad>& colors,
                            std::span<const uint8_t> data) {
  const bool rle8 = h.compression == gdi::BI_RLE8 && h.bitCount == 8;
  const bool rle4 = h.compression == gdi::BI_RLE4 && h.bitCount == 4;
  if (!(rle8 || rle4) || h.height <= 0) Refuse();  // compressed data is bottom-up only
  gdi::DibHeader screen;
  screen.width = h.width;
  screen.height = h.height;
  screen.bitCount = 32;
  TBitmapImage image;
  image.Store = MakeStore(screen, {});
  image.DeviceDependent = true;
  gdi::DecodeRle(data, h.bitCount, colors, *image.Store);
  if (!colors.empty()) image.Palette = gdi::PaletteFromColorTable(colors);
  return image;
}

}  // namespace

TBitmapImage ReadBitmapFile(std::span<const uint8_t> bytes) {
  ByteReader r(bytes);
  const auto fileHeader = r.Take(kFileHeaderSize);
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Refuse();
  const InfoHeader h = ReadInfoHeader(r);
  if (h.planes != 1) Refuse();
  InfoHeader info = h;
  if (h.size == kInfoHeaderSize && (h.bitCount == 16 || h.bitCount == 32) && h.compression == gdi::BI_BITFIELDS)
    for (uint32_t& m : info.masks) m = r.U32();
  const uint32_t count = ColorCount(h);
  if (count > 256) Refuse();
  std::vector<gdi::RGBQuad> colors = ReadColorTable(r, count, h.size == kCoreHeaderSize);
  // The pixel data starts where the colour table ends, whatever the file header says.
  uint64_t length = h.sizeImage;
  if (length == 0) {
    const int64_t rows = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
    length = gdi::DibStride(h.width, h.bitCount) * static_cast<uint64_t>(rows);
  }
  const auto data = r.Take(static_cast<size_t>(std::min<uint64_t>(length, r.Remaining())));
  TBitmapImage image = (info.compression == gdi::BI_RGB || info.compression == gdi::BI_BITFIELDS)
                           ? ReadPlain(info, std::move(colors), data)
                           : ReadCompressed(info, colors, data);
  if (h.bitCount > 8 && count > 0 && !image.Palette) image.Palette = gdi::PaletteFromColorTable(image.Store->Colors());
  return image;
}

namespace {
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
}  // namespace

void WriteBitmapFile(TStream& stream, const gdi::Dib& store) {
  const gdi::DibHeader& h = store.Header();
  const bool masks = h.compression == gdi::BI_BITFIELDS;
  // A table the reader would take for 2^bits entries when its count is 0 is written whole.
  std::vector<gdi::RGBQuad> colors = store.Colors();
  if (colors.empty() && h.bitCount <= 8) colors.resize(size_t{1} << h.bitCount);
  const uint32_t headers = kFileHeaderSize + kInfoHeaderSize + (masks ? 12 : 0) + 4 * static_cast<uint32_t>(colors.size());
  const uint64_t pixels = store.ByteSize();
  std::vector<uint8_t> out;
  out.reserve(headers);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(std::min<uint64_t>(headers + pixels, UINT32_MAX)));
  Put32(out, 0);
  Put32(out, headers);
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(h.width));
  Put32(out, static_cast<uint32_t>(h.height));
  Put16(out, 1);
  Put16(out, h.bitCount);
  Put32(out, masks ? gdi::BI_BITFIELDS : gdi::BI_RGB);
  Put32(out, static_cast<uint32_t>(pixels));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(colors.size()));
  Put32(out, 0);
  if (masks) {
    Put32(out, h.redMask);
    Put32(out, h.greenMask);
    Put32(out, h.blueMask);
  }
  for (const auto& c : colors) {
    out.push_back(c.blue);
    out.push_back(c.green);
    out.push_back(c.red);
    out.push_back(0);
  }
  stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
  stream.WriteBuffer(store.Bits(), static_cast<int64_t>(pixels));
}
