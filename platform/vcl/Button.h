#pragma once
// A push button.  A cancel button is pressed by Escape, a default button by Enter, anywhere
// in its window; a modal result closes the modal window that holds the button.

#include "platform/vcl/WinControl.h"

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  std::string ClassName() const override { return "TButton"; }

  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  // Sets the window's modal result (when the button has one), then raises OnClick.
  void Click() override;

 protected:
  void CaptionChanged() override;

 private:
  bool cancel_ = false;
  bool default_ = false;
  TModalResult modalResult_ = mrNone;
};
