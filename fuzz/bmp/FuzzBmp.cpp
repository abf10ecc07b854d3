// Reads bytes as a bitmap file and, when they load, draws the picture opaque, shrunk,
// enlarged and transparent, and reshapes it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/rtl/Exceptions.h"

namespace {

void Draw(TBitmap& b) {
  gdi::DibHeader h;
  h.width = 48;
  h.height = -40;
  h.bitCount = 32;
  auto surface = gdi::Dib::Create(h);
  gdi::TCanvas canvas(*surface);
  const int32_t w = b.Width(), ht = b.Height();
  b.Render(canvas, Rect(0, 0, 48, 40));
  b.Render(canvas, Rect(-3, -2, w - 3, ht - 2));
  b.Render(canvas, Rect(40, 30, 5, 7));  // mirrored
  b.SetTransparent(true);
  b.Render(canvas, Rect(0, 0, w, ht));   // masked copy
  b.Render(canvas, Rect(1, 1, 30, 20));  // four steps
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBitmap b;
  try {
    TMemoryStream s(std::vector<uint8_t>(data, data + size));
    b.LoadStream(s);
    if (b.IsEmpty()) return 0;
    // Drawing reads every pixel of the image for the mask: keep the run short.
    if (static_cast<int64_t>(b.Width()) * b.Height() <= (int64_t{1} << 16)) {
      Draw(b);
      b.SetPixelFormat(b.PixelFormat() == TPixelFormat::Bits8 ? TPixelFormat::Bits4 : TPixelFormat::Bits8);
      b.SetWidth(b.Width() / 2 + 1);
      b.ScanRow(b.Height() - 1);
      TMemoryStream out;
      b.WriteStoredData(out);
    }
  } catch (const Exception&) {
  }
  return 0;
}
