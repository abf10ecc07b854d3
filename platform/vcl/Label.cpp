#include "platform/vcl/Label.h"

#include <QLabel>

#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner) {
  auto* w = new ControlWidget<QLabel>(this);
  w->setTextFormat(Qt::PlainText);
  w->setFocusPolicy(Qt::NoFocus);
  AttachWidget(w);
  SetBounds(0, 0, 65, 17);
  ApplyText();
}

void TLabel::ApplyText() {
  auto* w = static_cast<QLabel*>(Widget());
  QString text = Q(Caption());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  w->setText(text);
  Qt::Alignment a = Qt::AlignTop;
  a |= alignment_ == TAlignment::taCenter        ? Qt::AlignHCenter
       : alignment_ == TAlignment::taRightJustify ? Qt::AlignRight
                                                  : Qt::AlignLeft;
  w->setAlignment(a);
  w->setWordWrap(wordWrap_);
  w->setAutoFillBackground(!transparent_);
  QPalette pal = w->palette();
  // The disabled look keeps the style's grey.
  pal.setColor(QPalette::Active, QPalette::WindowText, ToQColor(Font().Color()));
  pal.setColor(QPalette::Inactive, QPalette::WindowText, ToQColor(Font().Color()));
  pal.setColor(QPalette::Window, ToQColor(Color()));
  w->setPalette(pal);
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!autoSize_) return;
  auto* w = static_cast<QLabel*>(Widget());
  const QSize s = wordWrap_ ? QSize(Width(), w->heightForWidth(Width())) : w->sizeHint();
  SetBounds(Left(), Top(), s.width(), s.height());
}

void TLabel::SetAlignment(TAlignment value) {
  alignment_ = value;
  ApplyText();
}

void TLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustSize();
}

void TLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  ApplyText();
}

void TLabel::SetTransparent(bool value) {
  transparent_ = value;
  ApplyText();
}

void TLabel::CaptionChanged() { ApplyText(); }

void TLabel::FontChanged() {
  TControl::FontChanged();
  ApplyText();
}
