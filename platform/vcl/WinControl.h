#pragma once
// A control that holds other controls and can take the keyboard focus: docks its children
// by Align, keeps their tab order, creates its window (and its children's) before it is
// first shown, and sees the keys typed while it has the focus.

#include <vector>

#include "platform/vcl/Control.h"

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  std::string ClassName() const override { return "TWinControl"; }

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }

  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);

  // Whether the control can take the focus: showing, enabled, and its parents enabled.
  virtual bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;

  // Docks the children by Align: top, bottom, left, right, then client; controls of one
  // alignment in creation order (the first created sits outermost).
  void Realign();
  // The rectangle of the client area that docked children share (client rect less
  // bevels and borders drawn inside it).
  virtual TRect AlignRect() const { return ClientRect(); }
  // Offset of the client area inside the widget (non-client border width).
  virtual int BorderInset() const { return 0; }
  int ClientWidth() const override { return Width() - 2 * BorderInset(); }
  int ClientHeight() const override { return Height() - 2 * BorderInset(); }

  // The window exists (created before the first show).
  bool HandleAllocated() const { return handleAllocated_; }
  // Creates this window and the children's, parents first.
  void HandleNeeded();

  // Applies the tab order of this control and every control inside it to the widgets.
  void ApplyTabOrder();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Key handling while the control has the focus; setting Key to 0 stops the key.
  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);

  void ApplyStyle() override;

 protected:
  // The window is being created (lists build their lines here).
  virtual void CreateWnd() {}
  // The border inset changed: move every child's widget again.
  void ChildrenGeometryChanged();
  void Resized() override;
  void FontChanged() override;

  friend class TControl;

 private:
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void CollectTabChain(std::vector<QWidget*>& chain) const;

  std::vector<TControl*> controls_;  // not owned (the owner frees them), creation order
  int tabOrder_ = -1;
  bool tabStop_ = false;
  bool handleAllocated_ = false;
  bool aligning_ = false;
};

// A focusable container without a look of its own.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  std::string ClassName() const override { return "TCustomControl"; }
};
