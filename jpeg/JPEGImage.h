#pragma once
// The JPEG graphic: keeps a file's bytes, reads only the header on load, and decodes into a
// bitmap with its settings the first time the pixels are needed.

#include <cstdint>
#include <memory>
#include <string>

#include "jpeg/JPEGData.h"
#include "picture/Bitmap.h"
#include "picture/Graphic.h"

enum class TJPEGPixelFormat : uint8_t { jf24Bit = 0, jf8Bit = 1 };
enum class TJPEGPerformance : uint8_t { jpBestQuality = 0, jpBestSpeed = 1 };
enum class TJPEGScale : uint8_t { jsFullSize = 0, jsHalf = 1, jsQuarter = 2, jsEighth = 3 };

// The settings every new JPEG image starts with.
struct TJPEGDefaults {
  uint8_t EncodeQuality = 90;
  bool GreyOutput = false;
  TJPEGPerformance Performance = TJPEGPerformance::jpBestQuality;
  TJPEGPixelFormat PixelFormat = TJPEGPixelFormat::jf24Bit;
  bool ProgressiveDisplay = false;
  bool MultiScan = false;
  TJPEGScale Scale = TJPEGScale::jsFullSize;
  bool BlockSmoothing = true;
};

extern TJPEGDefaults DefaultJpegSettings;

// Once at start-up: 8-bit output by default on a screen of 8 bits a pixel or fewer.
void InitJpegSettings();

class JpegDecoder;

class TJPEGImage : public TGraphic {
  MIRELUNE_GRAPHIC_KIND()

 public:
  TJPEGImage();
  ~TJPEGImage() override;

  void CopyFrom(const TPersistent& Source) override;
  void CopyTo(TPersistent& Target) const override;

  // Draws the decoded bitmap (decoding first when needed) scaled into the rectangle.
  void Render(gdi::TCanvas& Canvas, const TRect& Rect) override;
  bool SameAs(TGraphic* Other) override;
  bool IsEmpty() override;
  int32_t Width() override;
  int32_t Height() override;
  gdi::HPALETTE Palette() override;
  void SetPalette(gdi::HPALETTE Value) override;
  // Always raise EInvalidGraphicOperation "Impossible de modifier la taille d'une image JPEG".
  void SetWidth(int32_t Value) override;
  void SetHeight(int32_t Value) override;
  // The stored form: a 32-bit little-endian length, then that many bytes of the file.
  void ReadStoredData(TStream& Stream) override;
  void WriteStoredData(TStream& Stream) override;
  void LoadStream(TStream& Stream) override;
  void SaveStream(TStream& Stream) override;

  // Replaces the bytes by the next Size bytes of Stream and reads their header.
  void LoadBytes(int32_t Size, TStream& Stream);

  // The decoded bitmap, decoding when there is none; never none afterwards, even when the
  // decoding failed.
  TBitmap* Bitmap();
  // The bitmap as it stands, without decoding (none before the first decoding).
  TBitmap* DecodedBitmap() const { return bitmap_.get(); }

  bool GreyOutput() const { return greyOutput_; }
  void SetGreyOutput(bool Value);
  TJPEGPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TJPEGPixelFormat Value);
  TJPEGPerformance Performance() const { return performance_; }
  void SetPerformance(TJPEGPerformance Value);
  TJPEGScale Scale() const { return scale_; }
  void SetScale(TJPEGScale Value);
  // Takes effect at the next decoding.
  bool ProgressiveDisplay() const { return progressiveDisplay_; }
  void SetProgressiveDisplay(bool Value) { progressiveDisplay_ = Value; }
  bool MultiScan() const { return multiScan_; }
  bool BlockSmoothing() const { return blockSmoothing_; }
  uint8_t EncodeQuality() const { return encodeQuality_; }

  // The shared holder of the bytes (never none).
  const TSharedRef<TJPEGData>& Data() const { return data_; }
  gdi::HPALETTE HeldPalette() const { return heldPalette_; }
  int32_t ReducedWidth() const { return reducedWidth_; }
  int32_t ReducedHeight() const { return reducedHeight_; }

  void NewData();
  void ReplaceBitmap();
  void DropBitmap();

 private:
  friend class JpegDecoder;

  // Setting changes, palette writes and loads free the bitmap being filled: refused while
  // this image decodes.
  void CheckNotDecoding() const;
  void ReadHeader();
  template <class T>
  void ChangeSetting(T& field, T value, bool touchPalette);

  TSharedRef<TJPEGData> data_;
  std::unique_ptr<TBitmap> bitmap_;
  int32_t reducedWidth_ = 0;
  int32_t reducedHeight_ = 0;
  gdi::HPALETTE heldPalette_;
  bool blockSmoothing_ = true;
  bool greyOutput_ = false;
  TJPEGPixelFormat pixelFormat_ = TJPEGPixelFormat::jf24Bit;
  uint8_t encodeQuality_ = 90;
  bool progressiveDisplay_ = false;
  bool multiScan_ = false;
  TJPEGPerformance performance_ = TJPEGPerformance::jpBestQuality;
  TJPEGScale scale_ = TJPEGScale::jsFullSize;
  int decoding_ = 0;
};
