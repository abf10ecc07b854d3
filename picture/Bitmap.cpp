#include "picture/Bitmap.h"

#include <cstring>
#include <optional>

#include "picture/BitmapFile.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/Raster.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

namespace {

constexpr gdi::COLORREF kPaletteRelative = 0x02000000;
constexpr int kDeviceBits = 32;  // the screen's bitmaps are true colour

TPixelFormat FormatOf(const gdi::DibHeader& h) {
  switch (h.bitCount) {
    case 1: return TPixelFormat::Bits1;
    case 4: return TPixelFormat::Bits4;
    case 8: return TPixelFormat::Bits8;
    case 16:
      if (h.compression == gdi::BI_RGB) return TPixelFormat::Bits15;
      if (h.compression == gdi::BI_BITFIELDS && h.greenMask == 0x07E0) return TPixelFormat::Bits16;
      return TPixelFormat::Custom;
    case 24: return TPixelFormat::Bits24;
    case 32: return h.compression == gdi::BI_RGB ? TPixelFormat::Bits32 : TPixelFormat::Custom;
    default: return TPixelFormat::Custom;
  }
}

int BitsOf(TPixelFormat f) {
  switch (f) {
    case TPixelFormat::Bits1: return 1;
    case TPixelFormat::Bits4: return 4;
    case TPixelFormat::Bits8: return 8;
    case TPixelFormat::Bits15:
    case TPixelFormat::Bits16: return 16;
    case TPixelFormat::Bits24: return 24;
    default: return 32;
  }
}

// The colour table a store of `bits` per pixel takes from a palette; without one, the
// system's defaults for that depth.
std::vector<gdi::RGBQuad> TableFor(const gdi::HPALETTE& palette, int bits) {
  if (bits > 8) return {};
  if (palette) {
    auto table = gdi::PaletteToColorTable(palette);
    if (table.size() > (size_t{1} << bits)) table.resize(size_t{1} << bits);
    return table;
  }
  if (bits == 1) return {gdi::RGBQuad{0, 0, 0, 0}, gdi::RGBQuad{255, 255, 255, 0}};
  if (bits == 4) return gdi::PaletteToColorTable(gdi::SystemPalette16());
  return gdi::PaletteToColorTable(gdi::CreateHalftonePalette());
}

bool SameLayout(const gdi::DibHeader& a, const gdi::DibHeader& b) {
  return a.width == b.width && a.height == b.height && a.bitCount == b.bitCount && a.compression == b.compression &&
         a.redMask == b.redMask && a.greenMask == b.greenMask && a.blueMask == b.blueMask;
}

// Restores a canvas's selected palette when drawing ends, also on failure.
class PaletteSelection {
 public:
  PaletteSelection(gdi::TCanvas& canvas, gdi::HPALETTE palette) : canvas_(canvas), old_(canvas.SelectedPalette) {
    if (palette) canvas_.SelectedPalette = std::move(palette);
  }
  ~PaletteSelection() { canvas_.SelectedPalette = old_; }
  PaletteSelection(const PaletteSelection&) = delete;
  PaletteSelection& operator=(const PaletteSelection&) = delete;

 private:
  gdi::TCanvas& canvas_;
  gdi::HPALETTE old_;
};

// Restores a canvas's text and background colours.
class ColorSelection {
 public:
  ColorSelection(gdi::TCanvas& canvas, gdi::COLORREF text, gdi::COLORREF back)
      : canvas_(canvas), text_(canvas.TextColor), back_(canvas.BkColor) {
    canvas_.TextColor = text;
    canvas_.BkColor = back;
  }
  ~ColorSelection() {
    canvas_.TextColor = text_;
    canvas_.BkColor = back_;
  }
  ColorSelection(const ColorSelection&) = delete;
  ColorSelection& operator=(const ColorSelection&) = delete;

 private:
  gdi::TCanvas& canvas_;
  gdi::COLORREF text_, back_;
};

}  // namespace

const char* PixelFormatName(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::Device: return "Device";
    case TPixelFormat::Bits1: return "Bits1";
    case TPixelFormat::Bits4: return "Bits4";
    case TPixelFormat::Bits8: return "Bits8";
    case TPixelFormat::Bits15: return "Bits15";
    case TPixelFormat::Bits16: return "Bits16";
    case TPixelFormat::Bits24: return "Bits24";
    case TPixelFormat::Bits32: return "Bits32";
    case TPixelFormat::Custom: return "Custom";
  }
  return "Custom";
}

struct TBitmap::Impl {
  // The description; kept without pixels when the width or height is 0.
  gdi::DibHeader desc;
  bool hasDescription = false;
  bool deviceDependent = false;
  std::unique_ptr<gdi::Dib> store;
  gdi::HPALETTE palette;
  bool paletteGivenUp = false;  // once no palette could be made, none is tried again
  std::unique_ptr<gdi::Dib> mask;
  bool maskStale = true;
  // The image with black where the mask is set, for scaled transparent drawing; made with
  // the mask on first need, so that repaints do not rebuild it.
  std::unique_ptr<gdi::Dib> masked;
  gdi::COLORREF brushColor = gdi::kWhite;
  // The one colour every pixel holds, while that is known (a fresh store nobody wrote into).
  std::optional<gdi::COLORREF> uniform;
  // A fresh store's fill, done when someone first looks at the pixels: the JPEG decoder
  // sets the size, then the palette, and a fill per step would touch every page twice.
  std::optional<gdi::COLORREF> pendingFill;

  void Materialize() {
    if (store && pendingFill) store->Fill(*pendingFill);
    pendingFill.reset();
  }

  // Takes a store whose bytes are unset, to be filled with one colour on first use.
  void TakeFresh(std::unique_ptr<gdi::Dib> fresh, gdi::COLORREF color) {
    store = std::move(fresh);
    pendingFill = color;
    uniform = StoredColor(*store, color);
  }

  // The colour a store of this format really holds when filled with `color`.
  static gdi::COLORREF StoredColor(const gdi::Dib& like, gdi::COLORREF color) {
    gdi::DibHeader one = like.Header();
    one.width = 1;
    one.height = 1;
    auto probe = gdi::Dib::CreateFilled(one, like.Colors(), color);
    return probe ? probe->PixelColor(0, 0) : color;
  }

  void Forget() {
    store.reset();
    mask.reset();
    masked.reset();
    uniform.reset();
    desc = gdi::DibHeader{};
    hasDescription = false;
    deviceDependent = false;
    pendingFill.reset();
  }

  // Rebuilds the image in a new description and palette: a new store filled with the brush
  // colour and the old image copied onto its top-left corner.
  void Rebuild(const gdi::DibHeader& next, const gdi::HPALETTE& nextPalette, bool device) {
    auto table = TableFor(nextPalette, next.bitCount);
    if (next.width <= 0 || next.height == 0) {
      store.reset();
      uniform.reset();
      pendingFill.reset();
    } else if (store && SameLayout(store->Header(), next)) {
      RecolorInPlace(std::move(table));
    } else {
      Replace(next, std::move(table));
    }
    desc = next;
    palette = nextPalette;
    deviceDependent = device;
    hasDescription = true;
  }

  // Same size and format: only a colour table can change, and the pixels are mapped to it.
  void RecolorInPlace(std::vector<gdi::RGBQuad> table) {
    if (store->BitCount() > 8 || table == store->Colors()) return;
    if (uniform) {
      store->Colors() = std::move(table);
      pendingFill = *uniform;
      uniform = StoredColor(*store, *uniform);
      return;
    }
    auto fresh = gdi::Dib::Create(store->Header(), std::move(table));  // row padding stays zero
    if (!fresh) throw EOutOfResources();
    gdi::CopyPixels(*fresh, *store);
    store = std::move(fresh);
  }

  void Replace(const gdi::DibHeader& next, std::vector<gdi::RGBQuad> table) {
    if (!gdi::DibFits(next)) throw EOutOfResources();
    std::unique_ptr<gdi::Dib> fresh;
    const bool covers = store && store->Width() >= next.width && store->Height() >= std::abs(next.height);
    if (!store || (covers && uniform)) {
      fresh = gdi::Dib::CreateUninitialized(next, std::move(table));
      if (!fresh) throw EOutOfResources();
      TakeFresh(std::move(fresh), store ? *uniform : brushColor);
      return;
    }
    std::optional<gdi::COLORREF> nextUniform;
    if (covers) {
      fresh = gdi::Dib::Create(next, std::move(table));  // every pixel is copied over
      if (fresh) gdi::CopyPixels(*fresh, *store);
    } else {
      fresh = gdi::Dib::CreateFilled(next, std::move(table), brushColor);
      if (fresh && uniform)
        gdi::FillPixels(*fresh, store->Width(), store->Height(), *uniform);
      else if (fresh)
        gdi::CopyPixels(*fresh, *store);
    }
    pendingFill.reset();
    if (!fresh) throw EOutOfResources();
    store = std::move(fresh);
    uniform = nextUniform;
  }

  int ImageBits() const { return deviceDependent ? kDeviceBits : desc.bitCount; }
};

MIRELUNE_DEFINE_GRAPHIC_KIND(TBitmap, TGraphic)

TBitmap::TBitmap() : impl_(std::make_unique<Impl>()) {}
TBitmap::~TBitmap() = default;

void TBitmap::CopyFrom(const TPersistent& Source) {
  const auto* other = dynamic_cast<const TBitmap*>(&Source);
  if (!other) {
    TGraphic::CopyFrom(Source);
    return;
  }
  if (other == this) return;
  Impl& o = *other->impl_;
  o.Materialize();
  std::unique_ptr<gdi::Dib> store;
  if (o.store) {
    store = o.store->Clone();
    if (!store) throw EOutOfResources();
  }
  impl_->store = std::move(store);
  impl_->desc = o.desc;
  impl_->hasDescription = o.hasDescription;
  impl_->deviceDependent = o.deviceDependent;
  impl_->palette = o.palette;
  impl_->paletteGivenUp = false;
  impl_->uniform = o.uniform;
  impl_->brushColor = o.brushColor;
  transparent_ = other->transparent_;
  NotifyChanged(this);
}

void TBitmap::NotifyChanged(TObject* Sender) {
  impl_->maskStale = true;
  TGraphic::NotifyChanged(Sender);
}

void TBitmap::Render(gdi::TCanvas& Canvas, const TRect& Rect) {
  Impl& m = *impl_;
  if (!m.store) return;
  m.Materialize();
  const gdi::Dib& image = *m.store;
  PaletteSelection selection(Canvas, Palette());
  const int deviceBits = Canvas.BitsPerPixel();
  const int imageBits = m.ImageBits();
  if (deviceBits <= 8 && deviceBits < imageBits)
    Canvas.StretchBltMode = gdi::HALFTONE;
  else if (imageBits != 1)
    Canvas.StretchBltMode = gdi::COLORONCOLOR;
  const int32_t w = image.Width(), h = image.Height();
  if (!Transparent()) {
    gdi::StretchBlt(Canvas, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), image, 0, 0, w, h, Canvas.CopyMode);
    return;
  }
  if (m.maskStale || !m.mask) {
    m.mask = gdi::ColorToMonochrome(image, TransparentColor());
    if (!m.mask) throw EOutOfResources();
    m.maskStale = false;
    m.masked.reset();
  }
  if (Rect.Width() == w && Rect.Height() == h) {
    gdi::MaskBlt(Canvas, Rect.Left, Rect.Top, w, h, image, 0, 0, *m.mask, 0, 0, gdi::DSTCOPY, gdi::SRCCOPY);
    return;
  }
  // The image with black wherever the mask is set, then mask AND, that image XOR.
  if (!m.masked) {
    gdi::DibHeader th;
    th.width = w;
    th.height = -h;
    th.bitCount = 32;
    auto temp = gdi::Dib::Create(th);
    if (!temp) throw EOutOfResources();
    gdi::TCanvas tempCanvas(*temp);
    gdi::BitBlt(tempCanvas, 0, 0, w, h, *m.mask, 0, 0, gdi::SRCCOPY);
    gdi::BitBlt(tempCanvas, 0, 0, w, h, image, 0, 0, gdi::SRCERASE);
    m.masked = std::move(temp);
  }
  ColorSelection colors(Canvas, gdi::kBlack, gdi::kWhite);
  gdi::StretchBlt(Canvas, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), *m.mask, 0, 0, w, h, gdi::SRCAND);
  gdi::StretchBlt(Canvas, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), *m.masked, 0, 0, w, h, gdi::SRCINVERT);
}

bool TBitmap::IsEmpty() { return !impl_->store; }
int32_t TBitmap::Width() { return impl_->desc.width; }
int32_t TBitmap::Height() { return impl_->desc.height < 0 ? -impl_->desc.height : impl_->desc.height; }

void TBitmap::SetWidth(int32_t Value) {
  if (Value < 0) Value = 0;
  if (Value == Width()) return;
  gdi::DibHeader next = impl_->hasDescription ? impl_->desc : gdi::DibHeader{};
  const bool device = impl_->deviceDependent || !impl_->hasDescription;
  if (!impl_->hasDescription) next.bitCount = kDeviceBits;
  next.width = Value;
  next.height = Height();
  impl_->Rebuild(next, impl_->palette, device);
  NotifyChanged(this);
}

void TBitmap::SetHeight(int32_t Value) {
  if (Value < 0) Value = 0;
  if (Value == Height()) return;
  gdi::DibHeader next = impl_->hasDescription ? impl_->desc : gdi::DibHeader{};
  const bool device = impl_->deviceDependent || !impl_->hasDescription;
  if (!impl_->hasDescription) next.bitCount = kDeviceBits;
  next.height = Value;
  impl_->Rebuild(next, impl_->palette, device);
  NotifyChanged(this);
}

gdi::HPALETTE TBitmap::Palette() {
  Impl& m = *impl_;
  if (m.palette || m.paletteGivenUp) return m.palette;
  if (m.store && !m.deviceDependent && m.store->BitCount() <= 8) {
    auto table = m.store->Colors();
    table.resize(size_t{1} << m.store->BitCount());
    m.palette = gdi::PaletteFromColorTable(table);
  } else if (m.store && gdi::ScreenBitsPerPixel() < m.ImageBits()) {
    m.palette = gdi::CreateHalftonePalette();
  }
  if (!m.palette) m.paletteGivenUp = true;
  return m.palette;
}

void TBitmap::SetPalette(gdi::HPALETTE Value) {
  Impl& m = *impl_;
  if (Value == m.palette) return;
  if (!Value) {
    m.palette = nullptr;
  } else if (m.hasDescription) {
    m.Rebuild(m.desc, Value, m.deviceDependent);
  } else {
    m.palette = Value;
  }
  SetPaletteDirty(true);
  NotifyChanged(this);
}

void TBitmap::LoadStream(TStream& Stream) {
  const std::vector<uint8_t> bytes = ReadRest(Stream);
  Impl& m = *impl_;
  if (bytes.empty()) {
    m.Forget();
    m.palette = nullptr;
    return;
  }
  TBitmapImage image = ReadBitmapFile(bytes);  // the bitmap is untouched when this raises
  m.Forget();
  m.desc = image.Store->Header();
  m.hasDescription = true;
  m.deviceDependent = image.DeviceDependent;
  m.store = std::move(image.Store);
  m.palette = std::move(image.Palette);
  if (m.palette) SetPaletteDirty(true);
  NotifyChanged(this);
}

void TBitmap::SaveStream(TStream& Stream) {
  impl_->Materialize();
  if (impl_->store) WriteBitmapFile(Stream, *impl_->store);
}

void TBitmap::ReadStoredData(TStream& Stream) {
  uint8_t count[4];
  Stream.ReadBuffer(count, 4);
  const uint32_t n = static_cast<uint32_t>(count[0]) | (static_cast<uint32_t>(count[1]) << 8) |
                     (static_cast<uint32_t>(count[2]) << 16) | (static_cast<uint32_t>(count[3]) << 24);
  if (static_cast<int64_t>(n) > Stream.Size() - Stream.Position()) throw EReadError();
  std::vector<uint8_t> bytes(n);
  Stream.ReadBuffer(bytes.data(), n);
  TMemoryStream file(std::move(bytes));
  LoadStream(file);
}

void TBitmap::WriteStoredData(TStream& Stream) {
  TMemoryStream file;
  SaveStream(file);
  const uint32_t n = static_cast<uint32_t>(file.Size());
  const uint8_t count[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                            static_cast<uint8_t>(n >> 24)};
  Stream.WriteBuffer(count, 4);
  if (n > 0) Stream.WriteBuffer(file.Memory(), n);
}

TPixelFormat TBitmap::PixelFormat() const {
  if (impl_->deviceDependent || !impl_->hasDescription) return TPixelFormat::Device;
  return FormatOf(impl_->desc);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == PixelFormat()) return;
  if (Value == TPixelFormat::Custom) throw EInvalidGraphic(msg::SInvalidPixelFormat);
  Impl& m = *impl_;
  gdi::DibHeader next;
  next.width = Width();
  next.height = Height();
  next.planes = 1;
  next.bitCount = static_cast<uint16_t>(BitsOf(Value));
  if (Value == TPixelFormat::Bits16) {
    next.compression = gdi::BI_BITFIELDS;
    next.redMask = 0xF800;
    next.greenMask = 0x07E0;
    next.blueMask = 0x001F;
  }
  gdi::HPALETTE nextPalette = m.palette;
  if (Value == TPixelFormat::Bits4) nextPalette = gdi::SystemPalette16();
  if (Value == TPixelFormat::Bits8) nextPalette = gdi::CopyPalette(gdi::CreateHalftonePalette());
  m.Rebuild(next, nextPalette, Value == TPixelFormat::Device);
  if (nextPalette) SetPaletteDirty(true);
  NotifyChanged(this);
}

uint8_t* TBitmap::ScanRow(int32_t Row) {
  Impl& m = *impl_;
  if (!m.store || Row < 0 || Row >= m.store->Height()) throw EInvalidGraphicOperation(msg::SScanLine);
  m.Materialize();
  m.deviceDependent = false;  // the caller addresses the rows: the store is device-independent now
  m.uniform.reset();
  m.maskStale = true;  // the caller may write pixels
  return m.store->PictureRow(Row);
}

void TBitmap::Clear() {
  if (!impl_->store) return;
  impl_->Forget();
  NotifyChanged(this);
}

const gdi::Dib* TBitmap::Store() const {
  impl_->Materialize();
  return impl_->store.get();
}

gdi::COLORREF TBitmap::TransparentColor() {
  const gdi::Dib* s = Store();
  if (!s || (s->BitCount() == 1 && !impl_->deviceDependent)) return gdi::kWhite;
  return s->PixelColor(0, s->Height() - 1) | kPaletteRelative;
}
