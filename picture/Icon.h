#pragma once
// The icon graphic: keeps the file's bytes; builds its image on first drawing.

#include <cstdint>
#include <memory>
#include <vector>

#include "picture/Graphic.h"

class TIcon : public TGraphic {
  MIRELUNE_GRAPHIC_KIND()

 public:
  TIcon();
  ~TIcon() override;

  void Render(gdi::TCanvas& Canvas, const TRect& Rect) override;
  bool IsEmpty() override;
  int32_t Width() override;
  int32_t Height() override;
  void SetWidth(int32_t Value) override;
  void SetHeight(int32_t Value) override;
  void SetTransparent(bool) override {}
  void LoadStream(TStream& Stream) override;
  void SaveStream(TStream& Stream) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
