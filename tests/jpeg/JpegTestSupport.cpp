#include "JpegTestSupport.h"

#include <csetjmp>
#include <fstream>
#include <iterator>

#include "picture/Bitmap.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/TickCount.h"

std::string Fixture(const std::string& name) { return std::string(MIRELUNE_TEST_DATA) + "/jpeg/" + name; }
std::string Sample(const std::string& path) { return std::string(MIRELUNE_TESTDATA) + "/jpeg/" + path; }

bool Exists(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<TJPEGImage> LoadImage(const std::string& path) {
  auto image = std::make_unique<TJPEGImage>();
  image->LoadFile(path);
  return image;
}

std::unique_ptr<TJPEGImage> LoadBytesImage(const std::vector<uint8_t>& bytes) {
  auto image = std::make_unique<TJPEGImage>();
  TMemoryStream stream(bytes);
  image->LoadStream(stream);
  return image;
}

namespace {
struct BareError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};
void BareExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<BareError*>(cinfo->err)->jump, 1); }
void BareSilent(j_common_ptr, int) {}

// Everything the decoding touches after setjmp lives in the caller's frame.
bool RunBare(const std::vector<uint8_t>& file, const BareParams& p, jpeg_decompress_struct& d, BareError& err,
             BareImage& out) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&d, TRUE);
  d.scale_num = 1;
  d.scale_denom = p.scaleDenom;
  d.dct_method = p.dct;
  if (p.grey) d.out_color_space = JCS_GRAYSCALE;
  if (d.out_color_space == JCS_RGB) d.out_color_space = JCS_EXT_BGR;
  if (p.quantize || d.out_color_space == JCS_GRAYSCALE) {
    d.quantize_colors = TRUE;
    d.desired_number_of_colors = 236;
    d.two_pass_quantize = p.twoPass ? TRUE : FALSE;
    d.dither_mode = p.dither;
  }
  jpeg_start_decompress(&d);
  out.width = static_cast<int>(d.output_width);
  out.height = static_cast<int>(d.output_height);
  out.components = d.output_components;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height * out.components);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = out.pixels.data() + static_cast<size_t>(d.output_scanline) * out.width * out.components;
    jpeg_read_scanlines(&d, &row, 1);
  }
  if (d.quantize_colors) {
    for (int i = 0; i < d.actual_number_of_colors; ++i) {
      if (d.out_color_components == 1) {
        for (int k = 0; k < 3; ++k) out.palette.push_back(d.colormap[0][i]);
      } else {
        out.palette.push_back(d.colormap[2][i]);
        out.palette.push_back(d.colormap[1][i]);
        out.palette.push_back(d.colormap[0][i]);
      }
    }
  }
  jpeg_finish_decompress(&d);
  return true;
}
}  // namespace

BareImage BareDecode(const std::vector<uint8_t>& file, const BareParams& params) {
  BareImage out;
  BareError err;
  jpeg_decompress_struct d{};
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = BareExit;
  err.mgr.emit_message = BareSilent;
  out.failed = !RunBare(file, params, d, err, out);
  jpeg_destroy_decompress(&d);
  return out;
}

std::vector<uint8_t> BitmapRows(TBitmap& bitmap) {
  std::vector<uint8_t> out;
  const int bpp = bitmap.PixelFormat() == TPixelFormat::Bits8 ? 1 : 3;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanRow(y);
    out.insert(out.end(), row, row + static_cast<size_t>(bitmap.Width()) * bpp);
  }
  return out;
}

std::vector<uint8_t> PaletteBytes(TBitmap& bitmap) {
  std::vector<uint8_t> out;
  for (const auto& e : gdi::GetPaletteEntries(bitmap.Palette())) {
    out.push_back(e.red);
    out.push_back(e.green);
    out.push_back(e.blue);
  }
  return out;
}

void JpegTest::TearDown() {
  gdi::SetScreenBitsPerPixel(0);
  rtl::SetTickCountSource(nullptr);
  DefaultJpegSettings = TJPEGDefaults{};
}
