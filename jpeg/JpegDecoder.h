#pragma once
// Decoding a JPEG image's bytes into its bitmap with the image's settings: the decompressor
// set up from the settings, the output size at a reduced scale, the row loop straight into
// the bitmap's pixel store, the pass-by-pass display of multi-scan files, and the reports.

#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "jpeg/JPEGData.h"
#include "jpeg/JpegErrors.h"
#include "jpeg/JpegProgress.h"
#include "platform/gdi/Palette.h"

class TBitmap;
class TJPEGImage;

// Files whose output has four components (CMYK, YCCK) are converted by the program.
enum class JpegRowConversion : uint8_t { None, CmykToBgr, CmykToGrey };

struct DecoderContext {
  JpegErrorState ErrorManager;
  ProgressRecord Progress{};
  J_DCT_METHOD SavedDctMethod = JDCT_ISLOW;
  boolean SavedTwoPassQuantize = FALSE;
  J_DITHER_MODE SavedDitherMode = JDITHER_NONE;
  jpeg_decompress_struct Decompressor{};
  JpegRowConversion Conversion = JpegRowConversion::None;
  JSAMPARRAY ConversionRow = nullptr;  // from the image pool, for converted rows
};

// The library's working memory is limited to what a picture's size can justify, so that a
// hostile file gets an error rather than an unbounded allocation.
inline constexpr long kJpegMaxMemory = 1L << 30;

// Pass-by-pass display shows at most this many interim passes; the scans of a file that has
// more are read without a pass of their own, so that a file of thousands of tiny scans costs
// no more than this many passes over the picture.
inline constexpr int kMaxInterimPasses = 64;

// One decompressor for one image's bytes and settings, header read; released at the end of
// its scope, on every path.
class JpegDecoder {
 public:
  // InitDecoder: raises EJPEG when the header is rejected or the input is empty.
  explicit JpegDecoder(TJPEGImage& image);
  ~JpegDecoder();  // ReleaseDecoder
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  // ReducedWidth, ReducedHeight and MultiScan of the image from its header.
  static void ComputeScaledSize(TJPEGImage& image);
  // The image's bitmap, decoding it when there is none.
  static TBitmap* Decode(TJPEGImage& image);

  jpeg_decompress_struct& Decompressor() { return ctx_.Decompressor; }
  DecoderContext& Context() { return ctx_; }

  // A palette of the library's colour map (or of the grey levels a converted grey output uses).
  gdi::HPALETTE PaletteFromColorMap();
  // Hands the palette's entries to the library as its colour map.
  void ColorMapFromPalette(const gdi::HPALETTE& palette);

 private:
  void Release();
  void SetParameters();
  bool EightBitOutput() const;
  void DecodeRows(TBitmap& bitmap, bool& buildOwnPalette);
  void RunPassLoop(TBitmap& bitmap, bool buildOwnPalette);
  void ReadRows(TBitmap& bitmap);
  template <class F>
  void Guarded(F&& f) {
    JpegGuarded(ctx_.ErrorManager, f);
  }

  TJPEGImage& image_;
  TSharedRef<TJPEGData> data_;  // the bytes stay alive while the library reads them
  DecoderContext ctx_;
};

// The grey level a converted grey output gives index i of its 236-entry palette.
uint8_t ConvertedGreyLevel(int index);
