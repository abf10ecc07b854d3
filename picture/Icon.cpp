#include "picture/Icon.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

#include "picture/IconDib.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/IconHandle.h"
#include "platform/rtl/ByteReader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

namespace {

using icon::IconDib;
using icon::ZeroPadded;

constexpr uint16_t kTypeApplication = 0;
constexpr uint16_t kTypeIcon = 1;
constexpr size_t kDirectoryHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint64_t kUnlimitedColors = std::numeric_limits<uint64_t>::max();

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic(msg::SInvalidIcon); }

struct IconEntry {
  uint8_t width = 0, height = 0;
  uint16_t colors = 0;
  uint32_t bytes = 0, offset = 0;
};

std::vector<IconEntry> ReadEntries(const ZeroPadded& file, uint16_t count) {
  std::vector<IconEntry> entries(count);
  for (size_t i = 0; i < count; ++i) {
    const uint64_t at = kDirectoryHeaderSize + i * kEntrySize;
    entries[i] = IconEntry{file.U8(at), file.U8(at + 1), file.U16(at + 2), file.U32(at + 8), file.U32(at + 12)};
  }
  return entries;
}

uint64_t ColorValue(uint16_t colors) { return colors == 0 ? kUnlimitedColors : colors; }

// Whether a candidate's side is at least as near the wanted one as the best's, the smaller
// of two equally far winning.
bool AsNear(int candidate, int best, int wanted) {
  const int dn = candidate - wanted, db = best - wanted;
  return std::abs(dn) <= std::abs(db) && (dn <= 0 || dn <= db);
}

size_t ChooseEntry(const std::vector<IconEntry>& entries, int wantedWidth, int wantedHeight) {
  const int bits = gdi::ScreenBitsPerPixel();
  const uint64_t limit = bits <= 8 ? (uint64_t{1} << std::max(bits, 0)) : kUnlimitedColors;
  size_t best = 0;
  for (size_t i = 1; i < entries.size(); ++i) {
    const IconEntry& e = entries[i];
    const IconEntry& b = entries[best];
    if (ColorValue(e.colors) <= limit && ColorValue(e.colors) >= ColorValue(b.colors) &&
        AsNear(e.width, b.width, wantedWidth) && AsNear(e.height, b.height, wantedHeight))
      best = i;
  }
  return best;
}

// Copies the entry's colour image and mask, scaled, onto images of the given size and makes
// the icon of them.
gdi::HICON BuildFromDib(const IconDib& image, int32_t width, int32_t height) {
  if (width == 0) width = image.Width();
  if (height == 0) height = image.Height();
  if (width > gdi::kMaxIconSide || height > gdi::kMaxIconSide) InvalidIcon();
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint32_t> color(count);
  std::vector<uint8_t> mask(count);
  bool alpha = false;
  for (int32_t y = 0; y < height; ++y) {
    const auto sy = static_cast<int32_t>(static_cast<int64_t>(y) * image.Height() / height);
    for (int32_t x = 0; x < width; ++x) {
      const auto sx = static_cast<int32_t>(static_cast<int64_t>(x) * image.Width() / width);
      const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      color[i] = image.Pixel(sx, sy);
      mask[i] = image.MaskBit(sx, sy);
      alpha = alpha || (color[i] >> 24) != 0;
    }
  }
  // A 32-bit image whose alpha bytes are all 0 carries no alpha: its mask counts.
  alpha = alpha && image.MayHaveAlpha();
  if (!alpha)
    for (uint32_t& c : color) c &= 0x00FFFFFF;
  gdi::HICON icon = gdi::CreateIcon(width, height, std::move(color), std::move(mask), alpha);
  if (!icon) throw EOutOfResources();
  return icon;
}

gdi::HICON BuildEntry(std::span<const uint8_t> file, const IconEntry& entry) {
  // Image data that starts outside the file is not there at all.
  if (entry.offset >= file.size()) InvalidIcon();
  const size_t available = std::min<size_t>(entry.bytes, file.size() - entry.offset);
  const ZeroPadded data(file.subspan(entry.offset, available));
  static constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (data.StartsWith(kPngSignature)) {
    gdi::HICON icon = gdi::CreateIconFromPng(data.Available(), entry.width, entry.height);
    if (!icon) InvalidIcon();
    return icon;
  }
  return BuildFromDib(IconDib(data), entry.width, entry.height);
}

}  // namespace

struct TIcon::Impl {
  std::vector<uint8_t> bytes;
  gdi::HICON handle;
  int32_t width = 0, height = 0;                   // of the chosen image, 0 until it is built
  int32_t requestedWidth = 0, requestedHeight = 0;  // 0: the system's icon size

  void MakeHandle() {
    const ZeroPadded file(bytes);
    const uint16_t type = file.U16(2);
    if (type == kTypeApplication) {
      handle = gdi::LoadApplicationIcon();
      return;
    }
    if (type != kTypeIcon) InvalidIcon();
    const std::vector<IconEntry> entries = ReadEntries(file, file.U16(4));
    if (entries.empty()) InvalidIcon();
    const bool requested = requestedWidth != 0 || requestedHeight != 0;
    const int wantedWidth = requested ? requestedWidth : gdi::SystemIconWidth();
    const int wantedHeight = requested ? requestedHeight : gdi::SystemIconHeight();
    const IconEntry& entry = entries[ChooseEntry(entries, wantedWidth, wantedHeight)];
    gdi::HICON icon = BuildEntry(bytes, entry);
    width = icon->Width();
    height = icon->Height();
    handle = std::move(icon);
  }
};

MIRELUNE_DEFINE_GRAPHIC_KIND(TIcon, TGraphic)

TIcon::TIcon() : impl_(std::make_unique<Impl>()) { transparent_ = true; }
TIcon::~TIcon() = default;

void TIcon::Render(gdi::TCanvas& Canvas, const TRect& Rect) {
  if (!impl_->handle) {
    if (impl_->bytes.empty()) return;
    impl_->MakeHandle();
  }
  gdi::DrawIconEx(Canvas, Rect.Left, Rect.Top, impl_->handle);
}

bool TIcon::IsEmpty() { return impl_->bytes.empty() && !impl_->handle; }
int32_t TIcon::Width() { return impl_->width != 0 ? impl_->width : gdi::SystemIconWidth(); }
int32_t TIcon::Height() { return impl_->height != 0 ? impl_->height : gdi::SystemIconHeight(); }

void TIcon::SetWidth(int32_t Value) {
  if (impl_->handle) throw EInvalidGraphicOperation(msg::SChangeIconSize);
  impl_->requestedWidth = Value;
}

void TIcon::SetHeight(int32_t Value) {
  if (impl_->handle) throw EInvalidGraphicOperation(msg::SChangeIconSize);
  impl_->requestedHeight = Value;
}

void TIcon::LoadStream(TStream& Stream) {
  std::vector<uint8_t> bytes = ReadRest(Stream);
  ByteReader reader(bytes);
  const std::span<const uint8_t> directory = reader.Take(kDirectoryHeaderSize);  // EReadError when shorter
  if (ByteReader::U16At(directory, 2) >= 2) InvalidIcon();
  impl_->bytes = std::move(bytes);
  impl_->handle.reset();
  impl_->width = impl_->height = 0;
  NotifyChanged(this);
}

void TIcon::SaveStream(TStream& Stream) {
  Stream.WriteBuffer(impl_->bytes.data(), static_cast<int64_t>(impl_->bytes.size()));
}
