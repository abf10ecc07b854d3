#include "tools/mirelune-render/JpegOptions.h"

#include "jpeg/JPEGImage.h"

namespace {
TJPEGScale ScaleOf(int denominator) {
  switch (denominator) {
    case 2: return TJPEGScale::jsHalf;
    case 4: return TJPEGScale::jsQuarter;
    case 8: return TJPEGScale::jsEighth;
    default: return TJPEGScale::jsFullSize;
  }
}
}  // namespace

// In the order the viewer's option handler applies them.
void ApplyJpegOptions(TGraphic& graphic, const TRenderOptions& options) {
  auto* jpeg = dynamic_cast<TJPEGImage*>(&graphic);
  if (!jpeg) return;
  jpeg->SetPixelFormat(options.PixelFormat == 8 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit);
  jpeg->SetScale(ScaleOf(options.Scale));
  jpeg->SetGreyOutput(options.Grey);
  jpeg->SetPerformance(options.Speed ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality);
  jpeg->SetProgressiveDisplay(options.Progressive);
}

std::optional<std::string> JpegPixelFormatName(TGraphic& graphic) {
  auto* jpeg = dynamic_cast<TJPEGImage*>(&graphic);
  if (!jpeg) return std::nullopt;
  if (TBitmap* bitmap = jpeg->DecodedBitmap()) return PixelFormatName(bitmap->PixelFormat());
  return std::string(jpeg->PixelFormat() == TJPEGPixelFormat::jf8Bit ? "Bits8" : "Bits24");
}
