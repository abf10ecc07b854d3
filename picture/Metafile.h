#pragma once
// The metafile graphic: placeable Windows metafiles and enhanced metafiles, told apart by
// content, played by our own player.

#include <cstdint>
#include <memory>

#include "picture/Graphic.h"

class TMetafile : public TGraphic {
  MIRELUNE_GRAPHIC_KIND()

 public:
  TMetafile();
  ~TMetafile() override;

  void Render(gdi::TCanvas& Canvas, const TRect& Rect) override;
  bool IsEmpty() override;
  int32_t Width() override;
  int32_t Height() override;
  void SetWidth(int32_t Value) override;
  void SetHeight(int32_t Value) override;
  gdi::HPALETTE Palette() override;
  void SetTransparent(bool) override {}
  void LoadStream(TStream& Stream) override;
  void SaveStream(TStream& Stream) override;

  // Size in hundredths of a millimetre, and the units per inch of a placeable file (or 0).
  int32_t MMWidth() const;
  int32_t MMHeight() const;
  int32_t UnitsPerInch() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
