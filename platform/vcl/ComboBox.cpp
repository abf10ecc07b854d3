#include "platform/vcl/ComboBox.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QComboBox>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

namespace {

// Draws the lines of the open list through the control.
class ItemDelegate : public QAbstractItemDelegate {
 public:
  ItemDelegate(TCustomComboBox* combo, QObject* parent) : QAbstractItemDelegate(parent), combo_(combo) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    TOwnerDrawState state = 0;
    if (option.state & QStyle::State_Selected) state |= odSelected;
    if (option.state & QStyle::State_HasFocus) state |= odFocused;
    const QRect r = option.rect;
    combo_->PaintItem(painter, index.row(), Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()),
                      state);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(option.rect.width(), combo_->ItemHeight());
  }

 private:
  TCustomComboBox* combo_;
};

class ComboWidget : public ControlWidget<QComboBox> {
 public:
  explicit ComboWidget(TCustomComboBox* combo) : ControlWidget<QComboBox>(combo) {
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
    QObject::connect(this, &QComboBox::activated, [combo](int index) { SafeCall([&] { combo->SelectByUser(index); }); });
  }
  TCustomComboBox* Combo() const { return static_cast<TCustomComboBox*>(control_); }

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (Combo()->Style() != TComboBoxStyle::csOwnerDrawFixed) {
      QComboBox::paintEvent(e);
      return;
    }
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect r = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    if (Combo()->ItemIndex() >= 0) {
      TOwnerDrawState state = odComboBoxEdit;
      if (hasFocus()) state |= odSelected | odFocused;
      Combo()->PaintItem(&p, Combo()->ItemIndex(),
                         Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()), state);
    }
  }
};

}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  auto* w = new ComboWidget(this);
  AttachWidget(w);
  items_.OnChange = [this] { ItemsChanged(); };
  SetColor(gdi::kWhite);
  SetTabStop(true);
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() { items_.OnChange = nullptr; }

std::string TCustomComboBox::Text() const { return itemIndex_ >= 0 ? items_.Strings(itemIndex_) : std::string(); }

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  style_ = value;
  auto* w = static_cast<QComboBox*>(Widget());
  if (value == TComboBoxStyle::csOwnerDrawFixed)
    w->setItemDelegate(new ItemDelegate(this, w));  // owned by the widget
  Widget()->update();
}

void TCustomComboBox::SetItemHeight(int value) {
  itemHeight_ = std::max(value, 1);
  Widget()->update();
}

void TCustomComboBox::SyncWidgetItems() {
  auto* w = static_cast<QComboBox*>(Widget());
  QSignalBlocker block(w);
  w->clear();
  QStringList texts;
  for (int i = 0; i < items_.Count(); ++i) texts << Q(items_.Strings(i));
  w->addItems(texts);
  w->setCurrentIndex(itemIndex_);
}

void TCustomComboBox::ItemsChanged() {
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  SyncWidgetItems();
}

void TCustomComboBox::SetItemIndex(int value) {
  if (value < -1 || value >= items_.Count()) value = -1;
  itemIndex_ = value;
  auto* w = static_cast<QComboBox*>(Widget());
  QSignalBlocker block(w);
  w->setCurrentIndex(value);
  w->update();
}

void TCustomComboBox::SelectByUser(int index) {
  if (index < 0 || index >= items_.Count()) return;
  itemIndex_ = index;
  Click();
  Change();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

bool TCustomComboBox::DroppedDown() const {
  const auto* w = static_cast<const QComboBox*>(Widget());
  return w->view() && w->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool value) {
  auto* w = static_cast<QComboBox*>(Widget());
  if (value)
    w->showPopup();
  else
    w->hidePopup();
}

gdi::TCanvas& TCustomComboBox::Canvas() {
  if (!surface_) EnsureSurface(surface_, 1, 1);
  if (!canvas_ || &canvas_->Surface() != surface_.get()) canvas_ = std::make_unique<gdi::TCanvas>(*surface_);
  return *canvas_;
}

void TCustomComboBox::PaintItem(QPainter* painter, int index, const TRect& rect, TOwnerDrawState state) {
  if (index < 0 || index >= items_.Count() || rect.Width() <= 0 || rect.Height() <= 0) return;
  EnsureSurface(surface_, rect.Width(), rect.Height());
  gdi::TCanvas& canvas = Canvas();
  // The line is drawn in its own coordinates of the list and lands on a surface of its size.
  canvas.Origin = TPoint{-rect.Left, -rect.Top};
  canvas.ClipRect = Rect(0, 0, rect.Width(), rect.Height());
  SafeCall([&] { DrawItem(index, rect, state); });
  painter->drawImage(rect.Left, rect.Top, SurfaceImage(*surface_), 0, 0, rect.Width(), rect.Height());
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
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

void TCustomComboBox::FontChanged() {
  TWinControl::FontChanged();
  Widget()->update();
}
