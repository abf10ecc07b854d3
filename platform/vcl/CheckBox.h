#pragma once
// A check box.  OnClick is raised whenever the state changes: by the user, and also when
// Checked is set from code to a new value.

#include "platform/vcl/WinControl.h"

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  std::string ClassName() const override { return "TCheckBox"; }

  bool Checked() const { return checked_; }
  void SetChecked(bool value);

  // Toolkit side: the user toggled the box.
  void HandleToggled(bool value);

 protected:
  void CaptionChanged() override;
  void FontChanged() override;

 private:
  bool checked_ = false;
};
