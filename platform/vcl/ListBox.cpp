#include "platform/vcl/ListBox.h"

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

namespace {

void RefreshView(QWidget* w) { static_cast<QAbstractScrollArea*>(w)->viewport()->update(); }

class ListWidget : public ControlWidget<QAbstractScrollArea> {
 public:
  explicit ListWidget(TCustomListBox* list) : ControlWidget<QAbstractScrollArea>(list) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    QObject::connect(verticalScrollBar(), &QScrollBar::valueChanged, [list](int v) { list->SetTopIndex(v); });
  }
  TCustomListBox* List() const { return static_cast<TCustomListBox*>(control_); }

 protected:
  void paintEvent(QPaintEvent*) override { List()->PaintLines(viewport()); }
  void resizeEvent(QResizeEvent* e) override {
    QAbstractScrollArea::resizeEvent(e);
    List()->ViewportResized();
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) {
      const QPoint p = e->position().toPoint();
      SafeCall([&] { List()->HandleMouseDown(p.x(), p.y(), false); });
    }
    ControlWidget<QAbstractScrollArea>::mousePressEvent(e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) {
      const QPoint p = e->position().toPoint();
      SafeCall([&] { List()->HandleMouseDown(p.x(), p.y(), true); });
    }
  }
};

}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner) {
  AttachWidget(new ListWidget(this));
  items_.OnChange = [this] { ItemsChanged(); };
  SetColor(gdi::kWhite);
  SetTabStop(true);
  SetBorder3D(true);
  SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() { items_.OnChange = nullptr; }

void TCustomListBox::SetBorder3D(bool value) {
  border3D_ = value;
  auto* w = static_cast<QAbstractScrollArea*>(Widget());
  if (value) {
    w->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    w->setLineWidth(2);
  } else {
    w->setFrameStyle(QFrame::NoFrame);
  }
}

int TCustomListBox::VisibleLines() const {
  const auto* w = static_cast<const QAbstractScrollArea*>(Widget());
  const int h = w->viewport()->height();
  return std::max(h / std::max(itemHeight_, 1), 1);
}

void TCustomListBox::SetItemHeight(int value) {
  itemHeight_ = std::max(value, 1);
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::SetTopIndex(int value) {
  const int maxTop = std::max(items_.Count() - VisibleLines(), 0);
  value = std::clamp(value, 0, maxTop);
  if (value != topIndex_) {
    topIndex_ = value;
    RefreshView(Widget());
  }
  auto* bar = static_cast<QAbstractScrollArea*>(Widget())->verticalScrollBar();
  if (bar->value() != topIndex_) bar->setValue(topIndex_);
}

void TCustomListBox::ViewportResized() { UpdateScrollBar(); }

void TCustomListBox::UpdateScrollBar() {
  auto* w = static_cast<QAbstractScrollArea*>(Widget());
  QScrollBar* bar = w->verticalScrollBar();
  const int visible = VisibleLines();
  bar->setRange(0, std::max(items_.Count() - visible, 0));
  bar->setPageStep(visible);
  bar->setSingleStep(1);
  SetTopIndex(topIndex_);
}

int TCustomListBox::ItemAtPos(int x, int y) const {
  const auto* w = static_cast<const QAbstractScrollArea*>(Widget());
  if (x < 0 || y < 0 || x >= w->viewport()->width() || y >= w->viewport()->height()) return -1;
  const int index = topIndex_ + y / std::max(itemHeight_, 1);
  return index < items_.Count() ? index : -1;
}

TRect TCustomListBox::ItemRect(int index) const {
  const auto* w = static_cast<const QAbstractScrollArea*>(Widget());
  const int top = (index - topIndex_) * itemHeight_;
  return Rect(0, top, w->viewport()->width(), top + itemHeight_);
}

void TCustomListBox::SetItemIndex(int value) {
  if (value < -1 || value >= items_.Count()) value = -1;
  if (value == itemIndex_) return;
  itemIndex_ = value;
  if (value >= 0) ScrollIntoView(value);
  RefreshView(Widget());
}

void TCustomListBox::ScrollIntoView(int index) {
  if (index < topIndex_)
    SetTopIndex(index);
  else if (index >= topIndex_ + VisibleLines())
    SetTopIndex(index - VisibleLines() + 1);
}

void TCustomListBox::SelectByUser(int index) {
  if (index < 0 || index >= items_.Count()) return;
  itemIndex_ = index;
  ScrollIntoView(index);
  RefreshView(Widget());
  Click();
}

void TCustomListBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  const int count = items_.Count();
  if (Key == 0 || count == 0) return;
  int target = itemIndex_;
  switch (Key) {
    case VK_UP: target = std::max(itemIndex_ - 1, 0); break;
    case VK_DOWN: target = std::min(itemIndex_ + 1, count - 1); break;
    case VK_PRIOR: target = std::max(itemIndex_ - (VisibleLines() - 1), 0); break;
    case VK_NEXT: target = std::min(std::max(itemIndex_, 0) + VisibleLines() - 1, count - 1); break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    default: return;
  }
  Key = 0;
  if (target != itemIndex_) SelectByUser(target);
}

void TCustomListBox::HandleMouseDown(int x, int y, bool doubleClick) {
  const int index = ItemAtPos(x, y);
  if (doubleClick) {
    DblClick();
    return;
  }
  if (index >= 0 && index != itemIndex_) SelectByUser(index);
}

gdi::TCanvas& TCustomListBox::Canvas() {
  auto* w = static_cast<QAbstractScrollArea*>(Widget());
  EnsureSurface(surface_, w->viewport()->width(), w->viewport()->height());
  if (!canvas_ || &canvas_->Surface() != surface_.get()) canvas_ = std::make_unique<gdi::TCanvas>(*surface_);
  return *canvas_;
}

void TCustomListBox::PaintLines(QWidget* target) {
  gdi::TCanvas& canvas = Canvas();
  canvas.Origin = TPoint{0, 0};
  canvas.ClipRect = Rect(0, 0, surface_->Width(), surface_->Height());
  canvas.FillRect(canvas.ClipRect, Color());
  const int visible = VisibleLines() + 1;
  const bool focused = Widget()->hasFocus();
  for (int i = topIndex_; i < std::min(items_.Count(), topIndex_ + visible); ++i) {
    TOwnerDrawState state = 0;
    if (i == itemIndex_) state |= odSelected | (focused ? odFocused : 0);
    if (!Enabled()) state |= odDisabled;
    const TRect r = ItemRect(i);
    canvas.ClipRect = Rect(0, std::max(r.Top, 0), surface_->Width(), std::min<int>(r.Bottom, surface_->Height()));
    SafeCall([&] { DrawItem(i, r, state); });
  }
  QPainter p(target);
  p.drawImage(0, 0, SurfaceImage(*surface_));
  if (focused && itemIndex_ >= topIndex_ && itemIndex_ < topIndex_ + visible) {
    const TRect r = ItemRect(itemIndex_);
    QPen pen(Qt::black, 1, Qt::DotLine);
    p.setPen(pen);
    p.drawRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
  }
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  gdi::TCanvas& canvas = Canvas();
  const bool selected = (State & odSelected) != 0;
  canvas.FillRect(Rect, selected ? vcl::clHighlight : Color());
  vcl::TextOut(canvas, Rect.Left + 2, Rect.Top, items_.Strings(Index), Font(),
               selected ? vcl::clHighlightText : Font().Color());
}

void TCustomListBox::ItemsChanged() {
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  UpdateScrollBar();
  RefreshView(Widget());
}

void TCustomListBox::Invalidate() { RefreshView(Widget()); }

void TCustomListBox::FontChanged() {
  TWinControl::FontChanged();
  RefreshView(Widget());
}
