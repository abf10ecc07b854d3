#include "jpeg/JpegDecoder.h"

#include <jerror.h>

#include <exception>
#include <string>
#include <vector>

#include "jpeg/JPEGImage.h"
#include "jpeg/StreamSource.h"
#include "picture/Bitmap.h"

namespace {

constexpr int kDesiredColors = 236;

// Components of the library's output (before quantisation) for an output colour space.
int OutputComponents(J_COLOR_SPACE space) {
  switch (space) {
    case JCS_GRAYSCALE: return 1;
    case JCS_CMYK:
    case JCS_YCCK: return 4;
    default: return 3;
  }
}

// Rows of the colour map that hold red, green and blue for a 3-component output.
struct ColorRows {
  int red, green, blue;
};
ColorRows RowsOf(J_COLOR_SPACE space) {
  return space == JCS_EXT_BGR ? ColorRows{2, 1, 0} : ColorRows{0, 1, 2};
}

// Adobe's CMYK as stored in JPEG files is inverted: 255 is no ink.
inline uint8_t InkToLight(unsigned inverted, unsigned k) { return static_cast<uint8_t>((inverted * k + 127) / 255); }

inline uint8_t GreyIndex(unsigned r, unsigned g, unsigned b) {
  const unsigned y = (r * 77 + g * 150 + b * 29 + 128) >> 8;
  return static_cast<uint8_t>((y * (kDesiredColors - 1) + 127) / 255);
}

void CmykRowToBgr(const JSAMPLE* in, uint8_t* out, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
    out[0] = InkToLight(in[2], in[3]);
    out[1] = InkToLight(in[1], in[3]);
    out[2] = InkToLight(in[0], in[3]);
  }
}

void CmykRowToGrey(const JSAMPLE* in, uint8_t* out, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, in += 4)
    out[x] = GreyIndex(InkToLight(in[0], in[3]), InkToLight(in[1], in[3]), InkToLight(in[2], in[3]));
}

// Counts this image as decoding for as long as the scope lives.
class DecodingScope {
 public:
  explicit DecodingScope(int& counter) : counter_(counter) { ++counter_; }
  ~DecodingScope() { --counter_; }
  DecodingScope(const DecodingScope&) = delete;
  DecodingScope& operator=(const DecodingScope&) = delete;

 private:
  int& counter_;
};

}  // namespace

uint8_t ConvertedGreyLevel(int index) {
  return static_cast<uint8_t>((index * 255 + (kDesiredColors - 1) / 2) / (kDesiredColors - 1));
}

JpegDecoder::JpegDecoder(TJPEGImage& image) : image_(image), data_(image.data_) {
  jpeg_decompress_struct& d = ctx_.Decompressor;
  TMemoryStream* bytes = data_->Bytes.get();
  // An image without bytes decodes as an empty input.
  if (!bytes) throw EJPEG(JERR_INPUT_EMPTY);

  d.err = &ctx_.ErrorManager.Manager;
  try {
    Guarded([&] { jpeg_create_decompress(&d); });
  } catch (...) {
    d.err = nullptr;
    throw;
  }
  try {
    d.mem->max_memory_to_use = kJpegMaxMemory;
    ctx_.Progress.Manager.progress_monitor = ProgressHook;
    ctx_.Progress.Instance = &image;
    d.progress = &ctx_.Progress.Manager;
    bytes->SetPosition(0);
    Guarded([&] {
      AttachStreamSource(&d, *bytes);
      jpeg_read_header(&d, TRUE);
    });
    SetParameters();
  } catch (...) {
    Release();
    throw;
  }
}

JpegDecoder::~JpegDecoder() { Release(); }

void JpegDecoder::Release() {
  jpeg_decompress_struct& d = ctx_.Decompressor;
  if (!d.err) return;
  jpeg_destroy_decompress(&d);
  d.err = nullptr;
}

void JpegDecoder::SetParameters() {
  jpeg_decompress_struct& d = ctx_.Decompressor;
  d.scale_num = 1;
  d.scale_denom = 1u << static_cast<unsigned>(image_.scale_);
  d.do_block_smoothing = image_.blockSmoothing_ ? TRUE : FALSE;

  const bool fourComponents = d.out_color_space == JCS_CMYK;
  if (fourComponents) {
    // The library does not convert four components to colour or grey: it delivers CMYK
    // and the program converts each row, or quantises the CMYK output to a palette.
    if (image_.greyOutput_)
      ctx_.Conversion = JpegRowConversion::CmykToGrey;
    else if (image_.pixelFormat_ == TJPEGPixelFormat::jf24Bit)
      ctx_.Conversion = JpegRowConversion::CmykToBgr;
  } else if (image_.greyOutput_) {
    d.out_color_space = JCS_GRAYSCALE;
  }
  // 24-bit output lands in the bitmap as blue, green, red.
  if (d.out_color_space == JCS_RGB) d.out_color_space = JCS_EXT_BGR;

  if ((image_.pixelFormat_ == TJPEGPixelFormat::jf8Bit || d.out_color_space == JCS_GRAYSCALE) &&
      ctx_.Conversion == JpegRowConversion::None) {
    d.quantize_colors = TRUE;
    d.desired_number_of_colors = kDesiredColors;
  }
  if (image_.performance_ == TJPEGPerformance::jpBestSpeed) {
    d.dct_method = JDCT_IFAST;
    d.two_pass_quantize = FALSE;
    d.dither_mode = JDITHER_ORDERED;
  } else {
    d.dct_method = JDCT_FLOAT;
  }
  ctx_.SavedDctMethod = d.dct_method;
  ctx_.SavedTwoPassQuantize = d.two_pass_quantize;
  ctx_.SavedDitherMode = d.dither_mode;
  if (image_.progressiveDisplay_ && jpeg_has_multiple_scans(&d)) {
    d.enable_2pass_quant = d.two_pass_quantize;
    d.dct_method = JDCT_IFAST;
    d.two_pass_quantize = FALSE;
    d.dither_mode = JDITHER_ORDERED;
    d.buffered_image = TRUE;
  }
}

bool JpegDecoder::EightBitOutput() const {
  return image_.pixelFormat_ == TJPEGPixelFormat::jf8Bit || ctx_.Decompressor.out_color_space == JCS_GRAYSCALE ||
         ctx_.Conversion == JpegRowConversion::CmykToGrey;
}

void JpegDecoder::ComputeScaledSize(TJPEGImage& image) {
  JpegDecoder decoder(image);
  jpeg_decompress_struct& d = decoder.ctx_.Decompressor;
  d.progress = nullptr;
  decoder.Guarded([&] { jpeg_calc_output_dimensions(&d); });
  image.reducedWidth_ = static_cast<int32_t>(d.output_width);
  image.reducedHeight_ = static_cast<int32_t>(d.output_height);
  image.multiScan_ = jpeg_has_multiple_scans(&d) != 0;
}

gdi::HPALETTE JpegDecoder::PaletteFromColorMap() {
  jpeg_decompress_struct& d = ctx_.Decompressor;
  std::vector<gdi::PaletteEntry> entries;
  if (ctx_.Conversion == JpegRowConversion::CmykToGrey) {
    for (int i = 0; i < kDesiredColors; ++i) {
      const uint8_t v = ConvertedGreyLevel(i);
      entries.push_back({v, v, v, 0});
    }
    return gdi::CreatePalette(std::move(entries));
  }
  if (!d.colormap) return nullptr;
  const int n = std::min(d.actual_number_of_colors, 256);
  entries.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    gdi::PaletteEntry e;
    if (d.out_color_space == JCS_GRAYSCALE) {
      e.red = e.green = e.blue = d.colormap[0][i];
    } else if (d.out_color_space == JCS_CMYK) {
      const unsigned k = d.colormap[3][i];
      e.red = InkToLight(d.colormap[0][i], k);
      e.green = InkToLight(d.colormap[1][i], k);
      e.blue = InkToLight(d.colormap[2][i], k);
    } else {
      const ColorRows rows = RowsOf(d.out_color_space);
      e.red = d.colormap[rows.red][i];
      e.green = d.colormap[rows.green][i];
      e.blue = d.colormap[rows.blue][i];
    }
    entries.push_back(e);
  }
  return gdi::CreatePalette(std::move(entries));
}

void JpegDecoder::ColorMapFromPalette(const gdi::HPALETTE& palette) {
  const std::vector<gdi::PaletteEntry> entries = gdi::GetPaletteEntries(palette);
  if (entries.empty()) return;
  const auto n = static_cast<JDIMENSION>(std::min<size_t>(entries.size(), 256));
  jpeg_decompress_struct& d = ctx_.Decompressor;
  JSAMPARRAY map = nullptr;
  Guarded([&] { map = (*d.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d), JPOOL_IMAGE, n, 3); });
  const ColorRows rows = RowsOf(d.out_color_space);
  for (JDIMENSION i = 0; i < n; ++i) {
    map[rows.red][i] = entries[i].red;
    map[rows.green][i] = entries[i].green;
    map[rows.blue][i] = entries[i].blue;
  }
  d.colormap = map;
  d.actual_number_of_colors = static_cast<int>(n);
}

void JpegDecoder::ReadRows(TBitmap& bitmap) {
  jpeg_decompress_struct& d = ctx_.Decompressor;
  if (ctx_.Conversion == JpegRowConversion::None) {
    Guarded([&] {
      while (d.output_scanline < d.output_height) {
        JSAMPROW row = bitmap.ScanRow(static_cast<int32_t>(d.output_scanline));
        if (jpeg_read_scanlines(&d, &row, 1) != 1) break;
      }
    });
    return;
  }
  if (!ctx_.ConversionRow)
    Guarded([&] {
      ctx_.ConversionRow = (*d.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d), JPOOL_IMAGE,
                                                  d.output_width * 4, 1);
    });
  const bool grey = ctx_.Conversion == JpegRowConversion::CmykToGrey;
  while (d.output_scanline < d.output_height) {
    uint8_t* target = bitmap.ScanRow(static_cast<int32_t>(d.output_scanline));
    JDIMENSION got = 0;
    Guarded([&] { got = jpeg_read_scanlines(&d, ctx_.ConversionRow, 1); });
    if (got != 1) break;
    if (grey)
      CmykRowToGrey(ctx_.ConversionRow[0], target, d.output_width);
    else
      CmykRowToBgr(ctx_.ConversionRow[0], target, d.output_width);
  }
}

void JpegDecoder::RunPassLoop(TBitmap& bitmap, bool buildOwnPalette) {
  jpeg_decompress_struct& d = ctx_.Decompressor;
  for (int passes = 0;; ++passes) {
    int reached = 0;
    Guarded([&] { reached = jpeg_consume_input(&d); });
    if (reached == JPEG_REACHED_EOI) break;
    if (passes == kMaxInterimPasses) {
      Guarded([&] {
        while (jpeg_consume_input(&d) != JPEG_REACHED_EOI) {
        }
      });
      break;
    }
    Guarded([&] { jpeg_start_output(&d, d.input_scan_number); });
    if (ctx_.Progress.Manager.completed_passes == 0 && d.colormap && bitmap.PixelFormat() == TPixelFormat::Bits8 &&
        buildOwnPalette) {
      bitmap.SetPalette(PaletteFromColorMap());
      image_.SetPaletteDirty(true);
    }
    ReadRows(bitmap);
    Guarded([&] { jpeg_finish_output(&d); });
  }
  // The final pass at the requested quality.
  d.dct_method = ctx_.SavedDctMethod;
  d.dither_mode = ctx_.SavedDitherMode;
  // A held palette stays the colour map: the bitmap's palette is a copy of it.
  if (ctx_.SavedTwoPassQuantize && buildOwnPalette) {
    d.two_pass_quantize = TRUE;
    d.colormap = nullptr;
  }
  Guarded([&] { jpeg_start_output(&d, d.input_scan_number); });
}

void JpegDecoder::DecodeRows(TBitmap& bitmap, bool& buildOwnPalette) {
  jpeg_decompress_struct& d = ctx_.Decompressor;
  if (image_.heldPalette_) {
    // A held palette can be the colour map of a colour output only; a grey or converted
    // output keeps its own levels.
    const bool colourMap = image_.pixelFormat_ == TJPEGPixelFormat::jf8Bit &&
                           OutputComponents(d.out_color_space) == 3 && ctx_.Conversion == JpegRowConversion::None;
    if (colourMap) {
      ColorMapFromPalette(image_.heldPalette_);
      bitmap.SetPalette(gdi::CopyPalette(image_.heldPalette_));
      buildOwnPalette = false;
    } else if (image_.pixelFormat_ == TJPEGPixelFormat::jf24Bit) {
      image_.heldPalette_.reset();
    }
  }
  Guarded([&] { jpeg_start_decompress(&d); });
  if (ctx_.Conversion == JpegRowConversion::CmykToGrey) {
    bitmap.SetPalette(PaletteFromColorMap());
    image_.SetPaletteDirty(true);
  }
  bitmap.SetWidth(static_cast<int32_t>(d.output_width));
  bitmap.SetHeight(static_cast<int32_t>(d.output_height));
  if (d.buffered_image) RunPassLoop(bitmap, buildOwnPalette);
  if ((!d.buffered_image || ctx_.SavedTwoPassQuantize) && d.colormap && buildOwnPalette) {
    bitmap.SetPalette(PaletteFromColorMap());
    image_.SetPaletteDirty(true);
  }
  ReadRows(bitmap);
  Guarded([&] {
    if (d.buffered_image) jpeg_finish_output(&d);
    jpeg_finish_decompress(&d);
  });
}

TBitmap* JpegDecoder::Decode(TJPEGImage& image) {
  if (image.bitmap_) return image.bitmap_.get();
  image.bitmap_ = std::make_unique<TBitmap>();
  TBitmap& bitmap = *image.bitmap_;
  DecodingScope scope(image.decoding_);
  bool buildOwnPalette = true;
  JpegDecoder decoder(image);
  try {
    bitmap.SetPixelFormat(decoder.EightBitOutput() ? TPixelFormat::Bits8 : TPixelFormat::Bits24);
    image.ReportProgress(&image, TProgressStage::Starting, 0, false, TRect{}, std::string());
    std::exception_ptr failure;
    try {
      decoder.DecodeRows(bitmap, buildOwnPalette);
    } catch (...) {
      failure = std::current_exception();
    }
    image.ReportProgress(&image, TProgressStage::Ending, failure ? 0 : 100, image.PaletteDirty(), TRect{},
                         std::string());
    if (image.PaletteDirty()) image.NotifyChanged(&image);
    if (failure) std::rethrow_exception(failure);
  } catch (const EAbort&) {
    // A receiver cancelled: the bitmap stays as far as it was filled.
  }
  return image.bitmap_.get();
}
