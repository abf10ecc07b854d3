#include "platform/vcl/GraphicControl.h"

#include <time.h>

#include <cstdio>

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "platform/vcl/QtBridge.h"
#include "platform/vcl/WinControl.h"

using namespace vcl::bridge;

namespace {

// Shows the control's surface; never draws the control itself.
class SurfaceWidget : public ControlWidget<QWidget> {
 public:
  SurfaceWidget(TGraphicControl* control, std::function<const gdi::Dib*()> surface)
      : ControlWidget<QWidget>(control), surface_(std::move(surface)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    auto* control = static_cast<TGraphicControl*>(control_);
    const gdi::Dib* s = surface_();
    QPainter p(this);
    if (s && s->Width() >= width() && s->Height() >= height()) {
      const QImage image(s->Bits(), s->Width(), s->Height(), static_cast<qsizetype>(s->Stride()),
                         QImage::Format_RGB32);
      p.drawImage(e->rect(), image, e->rect());
    } else {
      // Not painted at this size yet: the parent's colour until the cycle has run.
      const TWinControl* parent = control->Parent();
      p.fillRect(e->rect(), ToQColor(parent ? parent->Color() : control->Color()));
      control->Invalidate();
    }
  }

 private:
  std::function<const gdi::Dib*()> surface_;
};

}  // namespace

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  AttachWidget(new SurfaceWidget(this, [this]() -> const gdi::Dib* { return surface_.get(); }));
}

TGraphicControl::~TGraphicControl() { *alive_ = false; }

void TGraphicControl::EnsureSurface() {
  const gdi::Dib* before = surface_.get();
  vcl::bridge::EnsureSurface(surface_, Width(), Height());
  if (surface_.get() != before || !canvas_) canvas_ = std::make_unique<gdi::TCanvas>(*surface_);
  canvas_->Origin = TPoint{0, 0};
  canvas_->ClipRect = Rect(0, 0, surface_->Width(), surface_->Height());
}

gdi::TCanvas& TGraphicControl::Canvas() {
  EnsureSurface();
  return *canvas_;
}

const gdi::Dib& TGraphicControl::Surface() {
  EnsureSurface();
  return *surface_;
}

void TGraphicControl::Invalidate() {
  if (scheduled_) return;
  scheduled_ = true;
  std::weak_ptr<bool> alive = alive_;
  QTimer::singleShot(0, [this, alive] {
    if (auto a = alive.lock(); a && *a) Update();
  });
}

void TGraphicControl::Update() {
  if (!scheduled_) return;
  RunPaintCycle();
}

void TGraphicControl::RunPaintCycle() {
  scheduled_ = false;
  ++paintCycles_;
  SafeCall([this] {
    EnsureSurface();
    if (!opaque_) {
      const TWinControl* parent = Parent();
      canvas_->FillRect(Rect(0, 0, Width(), Height()), parent ? parent->Color() : Color());
    }
    Paint();
  });
  Present();
}

void TGraphicControl::Present() {
  ++presents_;
  if (Widget() && Widget()->isVisible()) {
    Widget()->repaint();
#ifdef MIRELUNE_PAINT_TRACE
    // Benchmark builds only: when a paint reached the screen, on the monotonic clock.
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::fprintf(stderr, "mirelune-trace paint %.3f %s\n", ts.tv_sec * 1e3 + ts.tv_nsec / 1e6, ClassName().c_str());
#endif
  }
}

void TGraphicControl::Resized() { Invalidate(); }
