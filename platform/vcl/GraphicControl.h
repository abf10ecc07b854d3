#pragma once
// A control that paints itself into a surface of its own (32 bits a pixel, top-down, the
// size of the control) and shows that surface on the screen.
//
// Its paint cycle never runs inside the toolkit's paint event: Invalidate() schedules the
// cycle through a zero timer; the cycle fills the surface with the parent's colour (unless
// the control is opaque), calls Paint() and then Present(), which puts the surface on the
// screen before it returns.  Present() may also be called from inside Paint() (a direct
// paint while a long drawing is under way); it shows the surface as it is at that moment.

#include <memory>

#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/vcl/Control.h"

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  std::string ClassName() const override { return "TGraphicControl"; }

  // The canvas on the surface; origin at the control's top-left corner, clipped to it.
  gdi::TCanvas& Canvas();
  const gdi::Dib& Surface();

  // Schedules a paint cycle (once, however often it is asked).
  void Invalidate() override;
  // Runs the scheduled paint cycle now, if there is one.
  void Update() override;
  bool PaintScheduled() const { return scheduled_; }
  // Puts the surface on the screen at once.
  void Present();

  // An opaque control covers its whole area: the cycle does not fill the background.
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool value) { opaque_ = value; }

  // How many cycles and presents have run (for tests of the paint rules).
  int PaintCycles() const { return paintCycles_; }
  int Presents() const { return presents_; }

 protected:
  // Draws the control into Canvas().
  virtual void Paint() {}
  void Resized() override;

 private:
  void EnsureSurface();
  void RunPaintCycle();

  std::unique_ptr<gdi::Dib> surface_;
  std::unique_ptr<gdi::TCanvas> canvas_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // guards the zero timer
  bool scheduled_ = false;
  bool opaque_ = false;
  int paintCycles_ = 0;
  int presents_ = 0;
};
