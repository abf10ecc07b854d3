#include "platform/vcl/CheckBox.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  auto* w = new ControlWidget<QCheckBox>(this);
  QObject::connect(w, &QCheckBox::toggled, [this](bool on) { HandleToggled(on); });
  AttachWidget(w);
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  {
    QSignalBlocker block(Widget());
    static_cast<QCheckBox*>(Widget())->setChecked(value);
  }
  Click();
}

void TCheckBox::HandleToggled(bool value) {
  if (value == checked_) return;
  checked_ = value;
  SafeCall([this] { Click(); });
}

void TCheckBox::CaptionChanged() { static_cast<QCheckBox*>(Widget())->setText(Q(Caption())); }

void TCheckBox::FontChanged() {
  TWinControl::FontChanged();
  QPalette pal = Widget()->palette();
  // The disabled look keeps the style's grey.
  pal.setColor(QPalette::Active, QPalette::WindowText, ToQColor(Font().Color()));
  pal.setColor(QPalette::Inactive, QPalette::WindowText, ToQColor(Font().Color()));
  Widget()->setPalette(pal);
}
