// Loads the bytes as a JPEG image and decodes them at a few settings, as the viewer would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpeg/JPEGImage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Stream.h"

namespace {

struct Setting {
  TJPEGPixelFormat format;
  TJPEGPerformance performance;
  bool grey;
  bool progressive;
};

constexpr Setting kSettings[] = {
    {TJPEGPixelFormat::jf24Bit, TJPEGPerformance::jpBestQuality, false, false},
    {TJPEGPixelFormat::jf8Bit, TJPEGPerformance::jpBestSpeed, false, true},
    {TJPEGPixelFormat::jf8Bit, TJPEGPerformance::jpBestQuality, true, true},
};

void Decode(TJPEGImage& image, const Setting& s, TJPEGScale scale) {
  image.SetPixelFormat(s.format);
  image.SetPerformance(s.performance);
  image.SetGreyOutput(s.grey);
  image.SetScale(scale);
  image.SetProgressiveDisplay(s.progressive);
  image.DropBitmap();
  try {
    TBitmap* bitmap = image.Bitmap();
    if (bitmap->Height() > 0) (void)bitmap->ScanRow(bitmap->Height() - 1)[0];
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TJPEGImage image;
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  try {
    image.LoadStream(stream);
  } catch (const Exception&) {
    return 0;
  }
  // Large pictures cost time, not coverage: decode them reduced, or not at all.
  const uint64_t pixels = uint64_t(image.Data()->HeaderWidth) * uint64_t(image.Data()->HeaderHeight);
  if (pixels > (uint64_t{1} << 22)) return 0;
  const TJPEGScale scale = size > 0 ? static_cast<TJPEGScale>(data[size - 1] & 3) : TJPEGScale::jsFullSize;
  for (const Setting& s : kSettings) {
    // Pass-by-pass display runs one full pass per scan.
    if (s.progressive && pixels > (uint64_t{1} << 18)) continue;
    Decode(image, s, scale);
  }
  (void)image.Width();
  return 0;
}
