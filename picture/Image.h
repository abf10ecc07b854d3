#pragma once
// The image view: a graphic control that owns a picture container, works out the rectangle
// the picture is drawn into, paints it there, repaints when the container reports a change,
// and passes the container's progress reports on, painting at once on the way when
// incremental display is on.

#include <memory>

#include "picture/Picture.h"
#include "picture/TargetRect.h"
#include "platform/vcl/GraphicControl.h"


class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  std::string ClassName() const override { return "TImage"; }

  TPicture& Picture() { return *picture_; }
  const TPicture& Picture() const { return *picture_; }
  // Copies the given container's graphic into the view's own container.
  void SetPicture(const TPicture& value);

  bool Proportional() const { return proportional_; }
  void SetProportional(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // A plain flag: changing it repaints nothing.
  bool IncrementalDisplay() const { return incrementalDisplay_; }
  void SetIncrementalDisplay(bool value) { incrementalDisplay_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // True while the view is painting.
  bool Painting() const { return painting_; }

  TProgressEvent OnProgress;

  // The rectangle the picture is drawn into, in the view's coordinates.
  TRect TargetRect() const;
  // Draws the picture into the view's surface (the paint cycle shows it afterwards; a
  // direct paint from a progress report shows it at once).
  void PaintView();
  // Handler of the container's change notification.
  void PictureUpdated(TObject* Sender);
  // Handler of the container's progress reports.
  void ViewProgress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                    const std::string& Msg);
  // Answers true when it has asked the window to realise a new palette.
  bool CheckPaletteChange();

  // The graphic's palette, or none when the container is empty.
  gdi::HPALETTE GetPalette() const;
  bool PaletteChanged(bool foreground) override;
  bool CanAutoSize(int& newWidth, int& newHeight) override;

 protected:
  void Paint() override { PaintView(); }

 private:
  void AdjustSize();

  std::unique_ptr<TPicture> picture_;
  bool proportional_ = false;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
  bool incrementalDisplay_ = false;
  bool autoSize_ = false;
  bool painting_ = false;
};
