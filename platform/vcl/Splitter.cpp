#include "platform/vcl/Splitter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/QtBridge.h"
#include "platform/vcl/WinControl.h"

using namespace vcl::bridge;

namespace {

// The hatched line shown while dragging: a checkerboard of dark pixels over the parent.
class FeedbackWidget : public QWidget {
 public:
  explicit FeedbackWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QBrush(QColor(64, 64, 64), Qt::Dense4Pattern));
  }
};

class SplitterWidget : public ControlWidget<QWidget> {
 public:
  explicit SplitterWidget(TSplitter* s) : ControlWidget<QWidget>(s) { setFocusPolicy(Qt::NoFocus); }
  TSplitter* Splitter() const { return static_cast<TSplitter*>(control_); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const TSplitter* s = Splitter();
    p.fillRect(rect(), ToQColor(s->Parent() ? s->Parent()->Color() : s->Color()));
    if (!s->Beveled()) return;
    const QRect r = rect();
    p.setPen(ToQColor(vcl::clBtnHighlight));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(ToQColor(vcl::clBtnShadow));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
  }
  void mousePressEvent(QMouseEvent* e) override {
    ControlWidget<QWidget>::mousePressEvent(e);
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = ParentPoint(e);
    bool started = false;
    SafeCall([&] { started = Splitter()->BeginDrag(p.x(), p.y()); });
    if (started) grabKeyboard();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!Splitter()->Dragging()) return;
    const QPoint p = ParentPoint(e);
    SafeCall([&] { Splitter()->DragTo(p.x(), p.y()); });
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && Splitter()->Dragging()) {
      releaseKeyboard();
      const QPoint p = ParentPoint(e);
      SafeCall([&] {
        Splitter()->DragTo(p.x(), p.y());
        Splitter()->EndDrag();
      });
    }
    ControlWidget<QWidget>::mouseReleaseEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape && Splitter()->Dragging()) {
      releaseKeyboard();
      Splitter()->CancelDrag();
      e->accept();
      return;
    }
    ControlWidget<QWidget>::keyPressEvent(e);
  }

 private:
  // The point in the parent's client coordinates.
  QPoint ParentPoint(QMouseEvent* e) const {
    const TSplitter* s = Splitter();
    const QPoint local = e->position().toPoint();
    return QPoint(s->Left() + local.x(), s->Top() + local.y());
  }
};

}  // namespace

TSplitter::TSplitter(TComponent* AOwner) : TControl(AOwner) {
  AttachWidget(new SplitterWidget(this));
  SetAlign(TAlign::alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(TCursor::crHSplit);
}

void TSplitter::SetBeveled(bool value) {
  beveled_ = value;
  Invalidate();
}

bool TSplitter::Vertical() const { return Align() == TAlign::alLeft || Align() == TAlign::alRight; }

int TSplitter::ControlSize(const TControl& c) const { return Vertical() ? c.Width() : c.Height(); }

TControl* TSplitter::ResizeControl() const {
  const TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    switch (Align()) {
      case TAlign::alLeft:
        if (c->Left() + c->Width() == Left()) return c;
        break;
      case TAlign::alRight:
        if (c->Left() == Left() + Width()) return c;
        break;
      case TAlign::alTop:
        if (c->Top() + c->Height() == Top()) return c;
        break;
      case TAlign::alBottom:
        if (c->Top() == Top() + Height()) return c;
        break;
      default: break;
    }
  }
  return nullptr;
}

int TSplitter::ComputeMaxSize() const {
  // Whatever leaves the rest of the parent (the client-aligned control) MinSize pixels.
  const TWinControl* parent = Parent();
  const TRect r = parent->AlignRect();
  int max = (Vertical() ? r.Width() : r.Height()) - minSize_;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    const TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    const bool sameAxis = Vertical() ? (c->Align() == TAlign::alLeft || c->Align() == TAlign::alRight)
                                     : (c->Align() == TAlign::alTop || c->Align() == TAlign::alBottom);
    if (sameAxis) max -= ControlSize(*c);
  }
  return max + ControlSize(*control_);
}

bool TSplitter::BeginDrag(int parentX, int parentY) {
  control_ = ResizeControl();
  if (!control_) return false;
  dragging_ = true;
  downPos_ = Vertical() ? parentX : parentY;
  oldSize_ = ControlSize(*control_);
  maxSize_ = ComputeMaxSize();
  newSize_ = oldSize_;
  ShowFeedback();
  return true;
}

void TSplitter::UpdatePendingSize(int parentX, int parentY) {
  int delta = (Vertical() ? parentX : parentY) - downPos_;
  if (Align() == TAlign::alRight || Align() == TAlign::alBottom) delta = -delta;
  int size = std::min(oldSize_ + delta, maxSize_);
  if (size <= minSize_) size = autoSnap_ ? 0 : minSize_;
  // The control's own constraints have the last word.
  int w = Vertical() ? size : control_->Width(), h = Vertical() ? control_->Height() : size;
  const TSizeConstraints& k = control_->Constraints();
  if (Vertical()) {
    if (k.MaxWidth > 0) w = std::min(w, k.MaxWidth);
    w = std::max(w, k.MinWidth);
    newSize_ = w;
  } else {
    if (k.MaxHeight > 0) h = std::min(h, k.MaxHeight);
    h = std::max(h, k.MinHeight);
    newSize_ = h;
  }
}

void TSplitter::DragTo(int parentX, int parentY) {
  if (!dragging_) return;
  UpdatePendingSize(parentX, parentY);
  ShowFeedback();
}

TRect TSplitter::FeedbackRect() const {
  if (!dragging_ || !control_) return TRect{};
  switch (Align()) {
    case TAlign::alLeft: {
      const int x = control_->Left() + newSize_;
      return Rect(x, Top(), x + Width(), Top() + Height());
    }
    case TAlign::alRight: {
      const int x = control_->Left() + control_->Width() - newSize_ - Width();
      return Rect(x, Top(), x + Width(), Top() + Height());
    }
    case TAlign::alTop: {
      const int y = control_->Top() + newSize_;
      return Rect(Left(), y, Left() + Width(), y + Height());
    }
    case TAlign::alBottom: {
      const int y = control_->Top() + control_->Height() - newSize_ - Height();
      return Rect(Left(), y, Left() + Width(), y + Height());
    }
    default: return TRect{};
  }
}

void TSplitter::ShowFeedback() {
  if (resizeStyle_ == TResizeStyle::rsNone || !Parent() || !Parent()->Widget()) return;
  if (!feedback_) feedback_ = new FeedbackWidget(Parent()->Widget());  // owned by the parent widget
  const TRect r = FeedbackRect();
  const int inset = Parent()->BorderInset();
  feedback_->setGeometry(r.Left + inset, r.Top + inset, r.Width(), r.Height());
  feedback_->raise();
  feedback_->show();
}

void TSplitter::HideFeedback() {
  delete feedback_;
  feedback_ = nullptr;
}

void TSplitter::EndDrag() {
  if (!dragging_) return;
  HideFeedback();
  dragging_ = false;
  TControl* c = control_;
  control_ = nullptr;
  if (newSize_ == oldSize_) return;
  if (Vertical()) {
    if (Align() == TAlign::alRight) c->SetLeft(c->Left() + c->Width() - newSize_);
    c->SetWidth(newSize_);
  } else {
    if (Align() == TAlign::alBottom) c->SetTop(c->Top() + c->Height() - newSize_);
    c->SetHeight(newSize_);
  }
  if (OnMoved) OnMoved(this);
}

void TSplitter::CancelDrag() {
  if (!dragging_) return;
  HideFeedback();
  dragging_ = false;
  control_ = nullptr;
}
