#include "picture/Metafile.h"

#include <algorithm>

#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/EnhMetaFile.h"
#include "platform/gdi/MulDiv.h"
#include "platform/gdi/WinMetaFile.h"
#include "platform/rtl/ByteReader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

namespace {

constexpr size_t kEnhHeaderSize = 100;
constexpr uint32_t kEnhHeaderType = 1;
constexpr uint32_t kEnhSignature = 0x464D4520;
constexpr size_t kPlaceableSize = 22;
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int32_t kHundredthsPerInch = 2540;
constexpr int32_t kDefaultUnitsPerInch = 96;
constexpr size_t kMaxPaletteEntries = 256;

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(msg::SInvalidMetafile); }

// Differences of 32-bit fields wrap as the original's 32-bit arithmetic does.
int32_t Difference(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

struct Placeable {
  int16_t left, top, right, bottom;
  uint16_t unitsPerInch;
};

// The 22-byte header every Windows metafile here starts with; none when its key or its
// checksum is wrong.
std::optional<Placeable> ReadPlaceable(std::span<const uint8_t> header) {
  ByteReader r(header);
  if (r.U32() != kPlaceableKey) return std::nullopt;
  uint16_t checksum = 0;
  for (size_t i = 0; i < 10; ++i) checksum ^= ByteReader::U16At(header, i * 2);
  if (ByteReader::U16At(header, 20) != checksum) return std::nullopt;
  r.U16();  // handle
  Placeable p{};
  p.left = r.I16();
  p.top = r.I16();
  p.right = r.I16();
  p.bottom = r.I16();
  p.unitsPerInch = r.U16();
  return p;
}

}  // namespace

struct TMetafile::Impl {
  gdi::HENHMETAFILE handle;
  gdi::HPALETTE palette;
  int32_t mmWidth = 0, mmHeight = 0;
  int32_t unitsPerInch = 0;

  void LoadEnhanced(TStream& stream, std::vector<uint8_t> header, int64_t remaining);
  void LoadWindows(TStream& stream, int64_t remaining);
};

void TMetafile::Impl::LoadEnhanced(TStream& stream, std::vector<uint8_t> bytes, int64_t remaining) {
  if (ByteReader::U32At(bytes, 40) != kEnhSignature) InvalidMetafile();
  const uint32_t total = ByteReader::U32At(bytes, 48);
  if (total < kEnhHeaderSize) InvalidMetafile();
  // Known to be short before anything is allocated.
  if (static_cast<int64_t>(total) > remaining) throw EReadError();
  bytes.resize(total);
  stream.ReadBuffer(bytes.data() + kEnhHeaderSize, static_cast<int64_t>(total - kEnhHeaderSize));
  gdi::HENHMETAFILE emf = gdi::SetEnhMetaFileBits(bytes);
  if (!emf) InvalidMetafile();
  const gdi::EnhMetaHeader& h = emf->Header();
  handle = std::move(emf);
  palette.reset();
  unitsPerInch = 0;
  mmWidth = Difference(h.frame.Right, h.frame.Left);
  mmHeight = Difference(h.frame.Bottom, h.frame.Top);
}

void TMetafile::Impl::LoadWindows(TStream& stream, int64_t remaining) {
  if (remaining < static_cast<int64_t>(kPlaceableSize)) InvalidMetafile();
  std::vector<uint8_t> header(kPlaceableSize);
  stream.ReadBuffer(header.data(), static_cast<int64_t>(header.size()));
  const std::optional<Placeable> p = ReadPlaceable(header);
  if (!p) InvalidMetafile();
  std::vector<uint8_t> records(static_cast<size_t>(remaining) - kPlaceableSize);
  stream.ReadBuffer(records.data(), static_cast<int64_t>(records.size()));

  const int32_t upi = p->unitsPerInch ? p->unitsPerInch : kDefaultUnitsPerInch;
  const int32_t width = gdi::MulDiv(p->right - p->left, kHundredthsPerInch, upi);
  const int32_t height = gdi::MulDiv(p->bottom - p->top, kHundredthsPerInch, upi);

  // Converted once without a size to learn the picture's frame, then again with that frame
  // as its size.
  const gdi::HENHMETAFILE first = gdi::SetWinMetaFileBits(records, gdi::kMM_ANISOTROPIC, 0, 0);
  if (!first) InvalidMetafile();
  gdi::EnhMetaHeader firstHeader;
  if (!gdi::GetEnhMetaFileHeader(first, firstHeader)) InvalidMetafile();
  gdi::HENHMETAFILE second =
      gdi::SetWinMetaFileBits(records, gdi::kMM_ANISOTROPIC, firstHeader.frame.Right, firstHeader.frame.Bottom);
  if (!second) InvalidMetafile();

  handle = std::move(second);
  palette.reset();
  unitsPerInch = p->unitsPerInch;
  mmWidth = width;
  mmHeight = height;
}

MIRELUNE_DEFINE_GRAPHIC_KIND(TMetafile, TGraphic)

TMetafile::TMetafile() : impl_(std::make_unique<Impl>()) { transparent_ = true; }
TMetafile::~TMetafile() = default;

void TMetafile::LoadStream(TStream& Stream) {
  const int64_t remaining = std::max<int64_t>(Stream.Size() - Stream.Position(), 0);
  const int64_t start = Stream.Position();
  bool enhanced = false;
  std::vector<uint8_t> header;
  if (remaining > static_cast<int64_t>(kEnhHeaderSize)) {
    header.resize(kEnhHeaderSize);
    Stream.ReadBuffer(header.data(), static_cast<int64_t>(header.size()));
    enhanced = ByteReader::U32At(header, 0) == kEnhHeaderType && ByteReader::U32At(header, 40) == kEnhSignature;
    if (!enhanced) Stream.SetPosition(start);
  }
  if (enhanced)
    impl_->LoadEnhanced(Stream, std::move(header), remaining);
  else
    impl_->LoadWindows(Stream, remaining);
  SetPaletteDirty(Palette() != nullptr);
  NotifyChanged(this);
}

bool TMetafile::IsEmpty() { return !impl_->handle; }

int32_t TMetafile::Width() {
  if (impl_->unitsPerInch != 0) return gdi::MulDiv(impl_->mmWidth, gdi::ScreenLogPixelsY(), kHundredthsPerInch);
  if (!impl_->handle) return 0;
  const gdi::EnhMetaHeader& h = impl_->handle->Header();
  return gdi::MulDivWide(impl_->mmWidth, h.deviceCx, int64_t{h.millimetersCx} * 100);
}

int32_t TMetafile::Height() {
  if (impl_->unitsPerInch != 0) return gdi::MulDiv(impl_->mmHeight, gdi::ScreenLogPixelsY(), kHundredthsPerInch);
  if (!impl_->handle) return 0;
  const gdi::EnhMetaHeader& h = impl_->handle->Header();
  return gdi::MulDivWide(impl_->mmHeight, h.deviceCy, int64_t{h.millimetersCy} * 100);
}

// Not reached by the viewer: the size in pixels becomes the size in hundredths of a
// millimetre at the screen's resolution.
void TMetafile::SetWidth(int32_t Value) {
  impl_->mmWidth = gdi::MulDiv(Value, kHundredthsPerInch, gdi::ScreenLogPixelsY());
  NotifyChanged(this);
}

void TMetafile::SetHeight(int32_t Value) {
  impl_->mmHeight = gdi::MulDiv(Value, kHundredthsPerInch, gdi::ScreenLogPixelsY());
  NotifyChanged(this);
}

gdi::HPALETTE TMetafile::Palette() {
  if (impl_->handle && !impl_->palette) {
    std::vector<gdi::PaletteEntry> entries = gdi::GetEnhMetaFilePaletteEntries(impl_->handle);
    if (entries.empty()) return nullptr;
    if (entries.size() > kMaxPaletteEntries) entries.resize(kMaxPaletteEntries);
    impl_->palette = gdi::CreatePalette(std::move(entries));
  }
  return impl_->palette;
}

void TMetafile::Render(gdi::TCanvas& Canvas, const TRect& Rect) {
  if (!impl_->handle) return;
  const gdi::HPALETTE palette = Palette();
  const gdi::HPALETTE previous = Canvas.SelectedPalette;
  // Selected as a background palette; realising it changes nothing on a true-colour screen.
  if (palette) Canvas.SelectedPalette = palette;
  const TRect target{Rect.Left, Rect.Top, static_cast<int32_t>(int64_t{Rect.Right} - 1),
                     static_cast<int32_t>(int64_t{Rect.Bottom} - 1)};
  try {
    gdi::PlayEnhMetaFile(Canvas, impl_->handle, target);
  } catch (...) {
    Canvas.SelectedPalette = previous;
    throw;
  }
  Canvas.SelectedPalette = previous;
}

void TMetafile::SaveStream(TStream& Stream) {
  if (!impl_->handle) return;
  const std::vector<uint8_t>& bytes = impl_->handle->Bytes();
  Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

int32_t TMetafile::MMWidth() const { return impl_->mmWidth; }
int32_t TMetafile::MMHeight() const { return impl_->mmHeight; }
int32_t TMetafile::UnitsPerInch() const { return impl_->unitsPerInch; }
