#include "jpeg/JpegEncoder.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "jpeg/JpegErrors.h"
#include "picture/Bitmap.h"
#include "platform/gdi/Dib.h"

namespace {

// A compressor and the memory its destination writes to, released on every path.
class Compressor {
 public:
  Compressor() {
    c_.err = &error_.Manager;
    JpegGuarded(error_, [this] { jpeg_create_compress(&c_); });
    created_ = true;
  }
  ~Compressor() {
    if (created_) jpeg_destroy_compress(&c_);
    std::free(out_);
  }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  template <class F>
  void Guarded(F&& f) {
    JpegGuarded(error_, f);
  }
  jpeg_compress_struct& Object() { return c_; }
  unsigned char** Out() { return &out_; }
  unsigned long* OutSize() { return &size_; }
  std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(out_, out_ + size_); }

 private:
  JpegErrorState error_;
  jpeg_compress_struct c_{};
  bool created_ = false;
  unsigned char* out_ = nullptr;  // the library's destination buffer (malloc'd by it)
  unsigned long size_ = 0;
};

}  // namespace

std::vector<uint8_t> EncodeBitmap(TBitmap& bitmap, int quality, bool grey, bool progressive) {
  const gdi::Dib* store = bitmap.Store();
  if (!store || store->Width() <= 0 || store->Height() <= 0) return {};
  const auto width = static_cast<JDIMENSION>(store->Width());
  const auto height = static_cast<JDIMENSION>(store->Height());
  const bool direct = store->BitCount() == 24;
  std::vector<uint8_t> row(direct ? 0 : static_cast<size_t>(width) * 3);

  Compressor compressor;
  jpeg_compress_struct& c = compressor.Object();
  compressor.Guarded([&] {
    jpeg_mem_dest(&c, compressor.Out(), compressor.OutSize());
    c.image_width = width;
    c.image_height = height;
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (grey) jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
  });
  for (JDIMENSION y = 0; y < height; ++y) {
    JSAMPROW line;
    if (direct) {
      line = const_cast<JSAMPROW>(store->PictureRow(static_cast<int32_t>(y)));
    } else {
      for (JDIMENSION x = 0; x < width; ++x) {
        const gdi::COLORREF colour = store->PixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y));
        row[3 * x] = gdi::GetBValue(colour);
        row[3 * x + 1] = gdi::GetGValue(colour);
        row[3 * x + 2] = gdi::GetRValue(colour);
      }
      line = row.data();
    }
    compressor.Guarded([&] { jpeg_write_scanlines(&c, &line, 1); });
  }
  compressor.Guarded([&] { jpeg_finish_compress(&c); });
  return compressor.Bytes();
}
