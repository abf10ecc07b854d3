#include "jpeg/JPEGImage.h"

#include <jerror.h>

#include <cstdio>

#include <jpeglib.h>

#include "jpeg/JpegDecoder.h"
#include "jpeg/JpegEncoder.h"
#include "jpeg/JpegErrors.h"
#include "jpeg/StreamSource.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

TJPEGDefaults DefaultJpegSettings;

void InitJpegSettings() {
  DefaultJpegSettings.PixelFormat =
      gdi::ScreenBitsPerPixel() <= 8 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit;
}

MIRELUNE_DEFINE_GRAPHIC_KIND(TJPEGImage, TGraphic)

TJPEGImage::TJPEGImage() {
  NewData();
  const TJPEGDefaults& d = DefaultJpegSettings;
  encodeQuality_ = d.EncodeQuality;
  greyOutput_ = d.GreyOutput;
  performance_ = d.Performance;
  pixelFormat_ = d.PixelFormat;
  progressiveDisplay_ = d.ProgressiveDisplay;
  multiScan_ = d.MultiScan;
  scale_ = d.Scale;
  blockSmoothing_ = d.BlockSmoothing;
}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::CheckNotDecoding() const {
  if (decoding_ > 0) throw EInvalidGraphicOperation(msg::SJPEGChangeWhileDecoding);
}

void TJPEGImage::NewData() {
  CheckNotDecoding();
  data_ = NewJPEGData();
}

void TJPEGImage::ReplaceBitmap() {
  CheckNotDecoding();
  bitmap_ = std::make_unique<TBitmap>();
}

void TJPEGImage::DropBitmap() {
  CheckNotDecoding();
  bitmap_.reset();
}

namespace {

// A decompressor that only reads a header: no progress monitor, destroyed on every path.
class HeaderReader {
 public:
  HeaderReader() {
    d_.err = &error_.Manager;
    JpegGuarded(error_, [this] { jpeg_create_decompress(&d_); });
    created_ = true;
  }
  ~HeaderReader() {
    if (created_) jpeg_destroy_decompress(&d_);
  }
  HeaderReader(const HeaderReader&) = delete;
  HeaderReader& operator=(const HeaderReader&) = delete;

  jpeg_decompress_struct& Read(TStream& bytes) {
    bytes.SetPosition(0);
    JpegGuarded(error_, [&] {
      AttachStreamSource(&d_, bytes);
      jpeg_read_header(&d_, TRUE);
    });
    return d_;
  }

 private:
  JpegErrorState error_;
  jpeg_decompress_struct d_{};
  bool created_ = false;
};

}  // namespace

void TJPEGImage::ReadHeader() {
  HeaderReader reader;
  const jpeg_decompress_struct& d = reader.Read(*data_->Bytes);
  data_->HeaderWidth = static_cast<int32_t>(d.image_width);
  data_->HeaderHeight = static_cast<int32_t>(d.image_height);
  multiScan_ = jpeg_has_multiple_scans(const_cast<jpeg_decompress_struct*>(&d)) != 0;
}

void TJPEGImage::LoadBytes(int32_t Size, TStream& Stream) {
  NewData();
  DropBitmap();
  data_->Bytes = std::make_unique<TMemoryStream>();
  // The length comes from the data (a stored form): never allocate more than the stream holds.
  const int64_t available = Stream.Size() - Stream.Position();
  if (Size < 0 || Size > available) throw EReadError();
  data_->Bytes->SetSize(Size);
  Stream.ReadBuffer(data_->Bytes->Memory(), Size);
  if (Size > 0) ReadHeader();
  SetPaletteDirty(true);
  NotifyChanged(this);
}

void TJPEGImage::LoadStream(TStream& Stream) {
  const int64_t size = Stream.Size() - Stream.Position();
  // The bytes are held in memory with a 32-bit length.
  if (size > INT32_MAX) throw EReadError();
  LoadBytes(static_cast<int32_t>(size), Stream);
}

void TJPEGImage::SaveStream(TStream& Stream) {
  if (!data_->Bytes && bitmap_) {
    // A picture without a file (copied from a bitmap): its bytes are made once, in a holder
    // of their own.
    CheckNotDecoding();
    std::vector<uint8_t> encoded = EncodeBitmap(*bitmap_, encodeQuality_, greyOutput_, multiScan_);
    TSharedRef<TJPEGData> data = NewJPEGData();
    data->Bytes = std::make_unique<TMemoryStream>(std::move(encoded));
    data->HeaderWidth = bitmap_->Width();
    data->HeaderHeight = bitmap_->Height();
    data_ = std::move(data);
  }
  const TMemoryStream* bytes = data_->Bytes.get();
  if (bytes && !bytes->Bytes().empty()) Stream.WriteBuffer(bytes->Memory(), static_cast<int64_t>(bytes->Bytes().size()));
}

void TJPEGImage::ReadStoredData(TStream& Stream) {
  uint8_t raw[4];
  Stream.ReadBuffer(raw, 4);
  const int32_t n = static_cast<int32_t>(static_cast<uint32_t>(raw[0]) | (static_cast<uint32_t>(raw[1]) << 8) |
                                         (static_cast<uint32_t>(raw[2]) << 16) | (static_cast<uint32_t>(raw[3]) << 24));
  LoadBytes(n, Stream);
}

void TJPEGImage::WriteStoredData(TStream& Stream) {
  const TMemoryStream* bytes = data_->Bytes.get();
  const uint32_t n = bytes ? static_cast<uint32_t>(bytes->Bytes().size()) : 0;
  const uint8_t raw[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
                          static_cast<uint8_t>(n >> 24)};
  Stream.WriteBuffer(raw, 4);
  if (n > 0) Stream.WriteBuffer(bytes->Memory(), n);
}

TBitmap* TJPEGImage::Bitmap() { return JpegDecoder::Decode(*this); }

void TJPEGImage::Render(gdi::TCanvas& Canvas, const TRect& Rect) { Bitmap()->Render(Canvas, Rect); }

bool TJPEGImage::IsEmpty() { return !data_->Bytes && (!bitmap_ || bitmap_->IsEmpty()); }

int32_t TJPEGImage::Width() {
  if (bitmap_) return bitmap_->Width();
  if (scale_ == TJPEGScale::jsFullSize) return data_->HeaderWidth;
  // No header to scale: an empty image has no size (rather than an error at every query).
  if (!data_->Bytes || data_->Bytes->Bytes().empty()) return 0;
  JpegDecoder::ComputeScaledSize(*this);
  return reducedWidth_;
}

int32_t TJPEGImage::Height() {
  if (bitmap_) return bitmap_->Height();
  if (scale_ == TJPEGScale::jsFullSize) return data_->HeaderHeight;
  if (!data_->Bytes || data_->Bytes->Bytes().empty()) return 0;
  JpegDecoder::ComputeScaledSize(*this);
  return reducedHeight_;
}

void TJPEGImage::SetWidth(int32_t) { throw EInvalidGraphicOperation(msg::SChangeJPGSize); }
void TJPEGImage::SetHeight(int32_t) { throw EInvalidGraphicOperation(msg::SChangeJPGSize); }

template <class T>
void TJPEGImage::ChangeSetting(T& field, T value, bool touchPalette) {
  if (field == value) return;
  DropBitmap();
  field = value;
  if (touchPalette) SetPaletteDirty(true);
  NotifyChanged(this);
}

void TJPEGImage::SetGreyOutput(bool Value) { ChangeSetting(greyOutput_, Value, true); }
void TJPEGImage::SetPixelFormat(TJPEGPixelFormat Value) { ChangeSetting(pixelFormat_, Value, true); }
void TJPEGImage::SetPerformance(TJPEGPerformance Value) { ChangeSetting(performance_, Value, true); }
void TJPEGImage::SetScale(TJPEGScale Value) { ChangeSetting(scale_, Value, false); }

gdi::HPALETTE TJPEGImage::Palette() {
  if (bitmap_) return bitmap_->Palette();
  if (heldPalette_) return heldPalette_;
  if (pixelFormat_ == TJPEGPixelFormat::jf24Bit && gdi::ScreenBitsPerPixel() <= 8) {
    heldPalette_ = gdi::CreateHalftonePalette();
    return heldPalette_;
  }
  return nullptr;
}

void TJPEGImage::SetPalette(gdi::HPALETTE Value) {
  if (Value == heldPalette_) return;
  const bool significant = bitmap_ && Value != bitmap_->Palette();
  if (significant) DropBitmap();
  CheckNotDecoding();
  heldPalette_ = std::move(Value);
  if (significant) {
    SetPaletteDirty(true);
    NotifyChanged(this);
  }
}

void TJPEGImage::CopyFrom(const TPersistent& Source) {
  if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(&Source)) {
    if (jpeg == this) return;
    CheckNotDecoding();
    data_ = jpeg->data_;
    if (jpeg->bitmap_) {
      ReplaceBitmap();
      bitmap_->CopyFrom(*jpeg->bitmap_);
    } else {
      DropBitmap();
    }
    return;
  }
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&Source)) {
    NewData();
    ReplaceBitmap();
    bitmap_->CopyFrom(*bitmap);
    return;
  }
  TGraphic::CopyFrom(Source);
}

void TJPEGImage::CopyTo(TPersistent& Target) const {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&Target)) {
    // Copying out needs the pixels: decode when there are none yet.
    bitmap->CopyFrom(*const_cast<TJPEGImage*>(this)->Bitmap());
    return;
  }
  TGraphic::CopyTo(Target);
}

bool TJPEGImage::SameAs(TGraphic* Other) {
  auto* other = dynamic_cast<TJPEGImage*>(Other);
  if (!other) return false;
  if (data_->Bytes && other->data_->Bytes) return TGraphic::SameAs(Other);
  return data_ == other->data_;
}
