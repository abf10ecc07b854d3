#pragma once
// Bitmaps inside metafile records: decoding the device-independent bitmap a record carries
// and copying it onto the output with a raster operation.

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <cstdint>
#include <span>

namespace gdi::emf {

struct EmfBitmapFields {
  uint32_t offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
  uint32_t usage = 0;  // DIB_RGB_COLORS or DIB_PAL_COLORS
};

class EmfBitmap {
 public:
  // Decodes the bitmap at the given offsets (from the record's start).  A null image when
  // the fields do not fit in the record or the format is not one of 1, 4, 8, 16, 24 or 32
  // bits uncompressed or run-length encoded.  keepAlpha keeps a 32-bit bitmap's fourth byte.
  // bottomUp, when given, tells whether the bitmap's rows were stored from the bottom (its
  // source rectangles then count from the bottom row).
  static QImage Decode(std::span<const uint8_t> record, const EmfBitmapFields& fields, bool keepAlpha = false,
                       bool* bottomUp = nullptr);
  // Whether the decoded bitmap had 1 bit a pixel (its colours then come from the context).
  static bool IsMonochrome(std::span<const uint8_t> record, const EmfBitmapFields& fields);

  // The image with every pixel of one colour made transparent.
  static QImage WithoutColour(const QImage& image, QRgb colour);

  // Copies the source part of an image onto a destination rectangle (output pixels) with a
  // ternary raster operation; brush is the pattern's colour.  A null image stands for an
  // operation without source.
  static void Blit(QPainter& painter, const QImage& image, const QRectF& dest, const QRectF& src, uint32_t rop,
                   const QBrush& brush);
};

}  // namespace gdi::emf
