#include "platform/vcl/Panel.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

namespace {

void Frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  p.setPen(topLeft);
  p.drawLine(r.left(), r.bottom(), r.left(), r.top());
  p.drawLine(r.left(), r.top(), r.right(), r.top());
  p.setPen(bottomRight);
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
  p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
  r.adjust(1, 1, -1, -1);
}

class PanelWidget : public ControlWidget<QWidget> {
 public:
  explicit PanelWidget(TPanel* panel) : ControlWidget<QWidget>(panel) { setFocusPolicy(Qt::NoFocus); }

 protected:
  void paintEvent(QPaintEvent*) override {
    auto* panel = static_cast<TPanel*>(control_);
    QPainter p(this);
    QRect r = rect();
    p.fillRect(r, ToQColor(panel->Color()));
    const QColor light = ToQColor(vcl::clBtnHighlight), shadow = ToQColor(vcl::clBtnShadow);
    if (panel->BorderStyle() == TBorderStyle::bsSingle) {
      Frame3D(p, r, shadow, light);
      Frame3D(p, r, QColor(105, 105, 105), QColor(227, 227, 227));
    }
    auto bevel = [&](TPanelBevel b) {
      if (b == TPanelBevel::bvNone) return;
      for (int i = 0; i < panel->BevelWidth(); ++i) {
        if (b == TPanelBevel::bvRaised)
          Frame3D(p, r, light, shadow);
        else if (b == TPanelBevel::bvLowered)
          Frame3D(p, r, shadow, light);
        else
          r.adjust(1, 1, -1, -1);
      }
    };
    bevel(panel->BevelOuter());
    bevel(panel->BevelInner());
    if (!panel->Caption().empty()) {
      p.setPen(ToQColor(panel->Font().Color()));
      p.drawText(r, Qt::AlignCenter, Q(panel->Caption()));
    }
  }
};

}  // namespace

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  AttachWidget(new PanelWidget(this));
  SetBounds(0, 0, 185, 41);
}

TRect TPanel::AlignRect() const {
  TRect r = ClientRect();
  int inset = 0;
  if (bevelOuter_ != TPanelBevel::bvNone) inset += bevelWidth_;
  if (bevelInner_ != TPanelBevel::bvNone) inset += bevelWidth_;
  return Rect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
}

void TPanel::SetBevelOuter(TPanelBevel value) {
  bevelOuter_ = value;
  Realign();
  Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel value) {
  bevelInner_ = value;
  Realign();
  Invalidate();
}

void TPanel::SetBevelWidth(int value) {
  bevelWidth_ = value;
  Realign();
  Invalidate();
}

void TPanel::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  ChildrenGeometryChanged();
  Realign();
  Invalidate();
}
