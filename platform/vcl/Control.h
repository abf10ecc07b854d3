#pragma once
// The control base: position and size in the parent's client coordinates, docking by Align,
// visibility, enabled state, hint, font, colour, size constraints and the click events.
// Every control is shown by a Qt widget of its own (kept out of this header).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gdi/Color.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Font.h"
#include "platform/vcl/Types.h"

class QWidget;
class TWinControl;
class TForm;

struct TSizeConstraints {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;  // 0: no limit
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  std::string ClassName() const override { return "TControl"; }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* value);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  // Applies the size constraints, moves the widget and realigns the parent when this
  // control is docked.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Rect(left_, top_, left_ + width_, top_ + height_); }

  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and every parent up to the form visible and shown.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool value);

  const std::string& Hint() const { return hint_; }
  void SetHint(std::string value);
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  // Whether the hint shows as a tooltip: ShowHint, or the parent's when ParentShowHint.
  bool EffectiveShowHint() const;

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  gdi::COLORREF Color() const { return color_; }
  void SetColor(gdi::COLORREF value);

  TSizeConstraints& Constraints() { return constraints_; }
  const TSizeConstraints& Constraints() const { return constraints_; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string value);

  // Asks for a repaint by the normal paint cycle.
  virtual void Invalidate();
  // Processes this control's pending paints at once.
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

  // Raises OnClick (overridden by controls that do more on a click).
  virtual void Click();
  virtual void DblClick();

  // The widget that shows this control; owned by the control.
  QWidget* Widget() const { return widget_; }

  // Realises this control's palette (foreground or background); answers whether the
  // screen's colours changed.  Controls without a palette answer false.
  virtual bool PaletteChanged(bool foreground);
  // Asked by automatic sizing: may change the proposed size; answers whether it may resize.
  virtual bool CanAutoSize(int& newWidth, int& newHeight);

  // Called when the parent's or own font, hint state or colour need to be applied again.
  virtual void ApplyStyle();

 protected:
  // Takes ownership of the widget that shows the control.
  void AttachWidget(QWidget* widget);
  // Moves the widget to the control's bounds inside the parent's client area.
  virtual void ApplyGeometry();
  // After the bounds changed (size or position).
  virtual void Resized() {}
  virtual void CaptionChanged() {}
  virtual void FontChanged();
  void ApplyConstraints(int& w, int& h) const;
  // The font the control draws with: its own, or the parent's when ParentFont.
  const TFont& EffectiveFont() const;
  // Sets the stored bounds without realigning (used by the docking code).
  void SetBoundsRaw(int ALeft, int ATop, int AWidth, int AHeight);
  // Copies the parent's font (ParentFont stays on).
  void TakeParentFont();

  friend class TWinControl;

 private:
  void UpdateHint();

  TWinControl* parent_ = nullptr;
  QWidget* widget_ = nullptr;  // owned (deleted in the destructor)
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TFont font_;
  bool parentFont_ = true;
  bool takingParentFont_ = false;
  gdi::COLORREF color_ = gdi::kButtonFace;
  TSizeConstraints constraints_;
  TCursor cursor_ = TCursor::crDefault;
  std::string caption_;
};

// The form that holds the control (itself when it is a form), or none.
TForm* GetParentForm(const TControl* control);
