#include "platform/vcl/Control.h"

#include <QCursor>
#include <QWidget>

#include "platform/vcl/Form.h"
#include "platform/vcl/QtBridge.h"
#include "platform/vcl/WinControl.h"

using namespace vcl::bridge;

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  font_.OnChange = [this] {
    if (!takingParentFont_) parentFont_ = false;  // a font of its own
    FontChanged();
  };
}

TControl::~TControl() {
  MarkDestroying();
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
  delete widget_;  // owned; Qt takes it out of its parent widget
  widget_ = nullptr;
}

void TControl::AttachWidget(QWidget* widget) {
  widget_ = widget;
  Link(widget_, this);
  widget_->setGeometry(left_, top_, width_, height_);
  widget_->setFont(ToQFont(font_));
  ApplyStyle();
}

void TControl::SetParent(TWinControl* value) {
  if (value == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = value;
  if (widget_) {
    widget_->setParent(parent_ ? parent_->Widget() : nullptr);
    widget_->setVisible(visible_ && parent_ != nullptr);
  }
  if (parent_) {
    if (parentFont_) TakeParentFont();
    parent_->InsertControl(this);
    ApplyGeometry();
    ApplyStyle();
  }
}

void TControl::ApplyConstraints(int& w, int& h) const {
  if (constraints_.MaxWidth > 0 && w > constraints_.MaxWidth) w = constraints_.MaxWidth;
  if (constraints_.MaxHeight > 0 && h > constraints_.MaxHeight) h = constraints_.MaxHeight;
  if (w < constraints_.MinWidth) w = constraints_.MinWidth;
  if (h < constraints_.MinHeight) h = constraints_.MinHeight;
  if (w < 0) w = 0;
  if (h < 0) h = 0;
}

void TControl::SetBoundsRaw(int ALeft, int ATop, int AWidth, int AHeight) {
  ApplyConstraints(AWidth, AHeight);
  const bool sized = AWidth != width_ || AHeight != height_;
  const bool moved = ALeft != left_ || ATop != top_;
  if (!sized && !moved) return;
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  ApplyGeometry();
  Resized();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const TRect before = BoundsRect();
  SetBoundsRaw(ALeft, ATop, AWidth, AHeight);
  if (BoundsRect() != before && parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::ApplyGeometry() {
  if (!widget_) return;
  const int inset = parent_ ? parent_->BorderInset() : 0;
  widget_->setGeometry(left_ + inset, top_ + inset, width_, height_);
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  if (parent_) parent_->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
    if (!c->parent_) return c->widget_ && c->widget_->isVisible();
  }
  return false;
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (widget_ && parent_) widget_->setVisible(value);
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (widget_) widget_->setEnabled(value);
}

void TControl::SetHint(std::string value) {
  hint_ = std::move(value);
  UpdateHint();
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  parentShowHint_ = false;
  ApplyStyle();
}

void TControl::SetParentShowHint(bool value) {
  parentShowHint_ = value;
  ApplyStyle();
}

bool TControl::EffectiveShowHint() const {
  if (parentShowHint_ && parent_) return parent_->EffectiveShowHint();
  return showHint_;
}

void TControl::UpdateHint() {
  if (!widget_) return;
  if (!EffectiveShowHint() || hint_.empty()) {
    widget_->setToolTip(QString());
    return;
  }
  QString text = Q(hint_);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // Plain text, whatever it looks like.
  widget_->setToolTip(text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")).prepend("<qt>"));
}

void TControl::ApplyStyle() { UpdateHint(); }

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) TakeParentFont();
}

void TControl::TakeParentFont() {
  if (!parent_) return;
  takingParentFont_ = true;
  font_.Assign(parent_->Font());
  takingParentFont_ = false;
}

const TFont& TControl::EffectiveFont() const { return font_; }

void TControl::FontChanged() {
  if (widget_) widget_->setFont(ToQFont(font_));
}

void TControl::SetColor(gdi::COLORREF value) {
  if (value == color_) return;
  color_ = value;
  Invalidate();
}

void TControl::SetCursor(TCursor value) {
  cursor_ = value;
  if (!widget_) return;
  if (value == TCursor::crDefault)
    widget_->unsetCursor();
  else
    widget_->setCursor(QCursor(ToQtCursor(value)));
}

void TControl::SetCaption(std::string value) {
  if (value == caption_) return;
  caption_ = std::move(value);
  CaptionChanged();
}

void TControl::Invalidate() {
  if (widget_) widget_->update();
}

void TControl::Update() {
  if (widget_ && widget_->isVisible()) widget_->repaint();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

bool TControl::PaletteChanged(bool) { return false; }

bool TControl::CanAutoSize(int&, int&) { return true; }

TForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}
