#include "platform/vcl/Button.h"

#include <QPushButton>

#include "platform/vcl/Form.h"
#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  auto* w = new ControlWidget<QPushButton>(this);
  w->setAutoDefault(false);
  QObject::connect(w, &QPushButton::clicked, [this] { SafeCall([this] { Click(); }); });
  AttachWidget(w);
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
  default_ = value;
  static_cast<QPushButton*>(Widget())->setDefault(value);
}

void TButton::CaptionChanged() { static_cast<QPushButton*>(Widget())->setText(Q(Caption())); }

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TWinControl::Click();
}
