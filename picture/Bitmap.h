#pragma once
// The bitmap: reads Windows bitmap files, holds the about box's picture, and is the pixel
// surface into which JPEG decoding writes its rows.

#include <cstdint>
#include <memory>

#include "picture/Graphic.h"
#include "platform/gdi/Dib.h"

enum class TPixelFormat : uint8_t { Device, Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32, Custom };

const char* PixelFormatName(TPixelFormat format);  // "Bits24", ...

class TBitmap : public TGraphic {
  MIRELUNE_GRAPHIC_KIND()

 public:
  TBitmap();
  ~TBitmap() override;

  // A bitmap source is copied (pixels, description, palette, transparency); other sources
  // go to the base.
  void CopyFrom(const TPersistent& Source) override;

  void NotifyChanged(TObject* Sender) override;  // also marks the mask stale
  void Render(gdi::TCanvas& Canvas, const TRect& Rect) override;
  bool IsEmpty() override;
  int32_t Width() override;
  int32_t Height() override;
  void SetWidth(int32_t Value) override;
  void SetHeight(int32_t Value) override;
  gdi::HPALETTE Palette() override;
  void SetPalette(gdi::HPALETTE Value) override;
  void LoadStream(TStream& Stream) override;
  void SaveStream(TStream& Stream) override;
  void ReadStoredData(TStream& Stream) override;   // 32-bit byte count, then a bitmap file
  void WriteStoredData(TStream& Stream) override;

  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat Value);

  // Address of picture row Row (from the top); raises EInvalidGraphicOperation
  // "Indice ligne hors limites" outside 0..Height-1.
  uint8_t* ScanRow(int32_t Row);

  // Drops the store and the description, keeps the palette, notifies; nothing when empty.
  void Clear();

  // The pixel store, or none when the bitmap holds no pixels.
  const gdi::Dib* Store() const;

  // The colour that transparent drawing leaves out: white for monochrome, else the
  // bottom-left pixel's colour.
  gdi::COLORREF TransparentColor();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
