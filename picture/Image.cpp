#include "picture/Image.h"

#include <cmath>
#include <limits>

#include "picture/Icon.h"
#include "picture/Metafile.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/vcl/Form.h"

namespace {

// The palette last realised in the foreground on a screen with a palette: realising the
// same one again changes no system colours.
gdi::HPALETTE& RealisedPalette() {
  static gdi::HPALETTE palette;
  return palette;
}

}  // namespace


TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
  picture_->OnChange = [this](TObject* Sender) { PictureUpdated(Sender); };
  picture_->OnProgress = [this](TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                                const TRect& R, const std::string& Msg) {
    ViewProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
  };
  SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage() {
  // The container's graphic may report while it is freed; nobody listens any more.
  picture_->OnChange = nullptr;
  picture_->OnProgress = nullptr;
}

void TImage::SetPicture(const TPicture& value) { picture_->SetGraphic(value.Graphic()); }

void TImage::SetProportional(bool value) {
  if (value == proportional_) return;
  proportional_ = value;
  PictureUpdated(this);
}

void TImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  PictureUpdated(this);
}

void TImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  PictureUpdated(this);
}

void TImage::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  PictureUpdated(this);
}

void TImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  if (value) AdjustSize();
}

void TImage::AdjustSize() {
  int w = Width(), h = Height();
  if (CanAutoSize(w, h)) SetBounds(Left(), Top(), w, h);
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
  if (picture_->Width() <= 0 || picture_->Height() <= 0) return true;
  const TAlign a = Align();
  if (a == TAlign::alNone || a == TAlign::alLeft || a == TAlign::alRight) newWidth = picture_->Width();
  if (a == TAlign::alNone || a == TAlign::alTop || a == TAlign::alBottom) newHeight = picture_->Height();
  return true;
}

TRect TImage::TargetRect() const {
  return ImageTargetRect(picture_->Width(), picture_->Height(), ClientWidth(), ClientHeight(), stretch_,
                         proportional_, center_);
}

void TImage::PaintView() {
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{painting_, painting_};
  painting_ = true;
  const TRect target = TargetRect();
  if (TGraphic* graphic = picture_->Graphic()) {
    gdi::TCanvas& canvas = Canvas();  // origin at the view's corner, clipped to it
    canvas.TextColor = Font().Color();
    canvas.BrushColor = gdi::kWhite;
    graphic->Render(canvas, target);
  }
}

void TImage::PictureUpdated(TObject*) {
  if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  if (TGraphic* graphic = picture_->Graphic()) {
    const TGraphicClass& kind = graphic->ClassType();
    if (!kind.InheritsFrom(TMetafile::StaticClass()) && !kind.InheritsFrom(TIcon::StaticClass()))
      graphic->SetTransparent(transparent_);
    SetOpaque(!graphic->Transparent() && stretch_ && !proportional_);
    if (CheckPaletteChange() && painting_) Update();
  } else {
    SetOpaque(false);
  }
  if (!painting_) Invalidate();
}

bool TImage::CheckPaletteChange() {
  TGraphic* graphic = picture_->Graphic();
  if (!Visible() || Loading() || !graphic || !graphic->PaletteDirty()) return false;
  if (!graphic->Palette()) {
    graphic->SetPaletteDirty(false);
    return false;
  }
  TForm* form = GetParentForm(this);
  if (form && form->Active() && form->HandleAllocated()) {
    if (painting_)
      form->SendQueryNewPalette();
    else
      form->PostQueryNewPalette();
    graphic->SetPaletteDirty(false);
    return true;
  }
  return false;
}

void TImage::ViewProgress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                          const std::string& Msg) {
  if (incrementalDisplay_ && RedrawNow) {
    if (CheckPaletteChange()) {
      Update();
    } else {
      PaintView();
      Present();
    }
  }
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

gdi::HPALETTE TImage::GetPalette() const {
  TGraphic* graphic = picture_->Graphic();
  return graphic ? graphic->Palette() : nullptr;
}

bool TImage::PaletteChanged(bool foreground) {
  const gdi::HPALETTE palette = GetPalette();
  if (!palette) return false;
  // A true-colour screen has no system palette: nothing changes.
  if (gdi::ScreenBitsPerPixel() > 8) return false;
  gdi::HPALETTE& realised = RealisedPalette();
  const bool changed = foreground && realised != palette;
  if (foreground) realised = palette;
  if (changed) Invalidate();
  return changed;
}
