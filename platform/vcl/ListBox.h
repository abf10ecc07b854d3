#pragma once
// A single-selection list whose lines are drawn by the control (DrawItem on a canvas, one
// fixed line height).  The user selects with a click or the keys (up, down, page up, page
// down, home, end): the selection moves and Click() runs.  A double click runs DblClick().
// Setting ItemIndex from code moves the selection and raises nothing.

#include "platform/gdi/Canvas.h"
#include "platform/vcl/Strings.h"
#include "platform/vcl/WinControl.h"

using TOwnerDrawState = uint32_t;
inline constexpr TOwnerDrawState odSelected = 1u << 0;
inline constexpr TOwnerDrawState odFocused = 1u << 1;
inline constexpr TOwnerDrawState odDisabled = 1u << 2;
inline constexpr TOwnerDrawState odComboBoxEdit = 1u << 3;

using TDrawItemEvent =
    std::function<void(TObject* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

class TCustomListBox : public TWinControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  std::string ClassName() const override { return "TCustomListBox"; }

  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  virtual void SetItemIndex(int value);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int value);
  bool Sorted() const { return items_.Sorted(); }
  void SetSorted(bool value) { items_.SetSorted(value); }
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int value);
  // Lines that fit in the list.
  int VisibleLines() const;
  // The line under a point of the client area, or -1.
  int ItemAtPos(int x, int y) const;
  // A line's rectangle in client coordinates (may lie outside the visible area).
  TRect ItemRect(int index) const;
  // A 3-D sunken border (2 pixels a side) around the lines; on by default.
  bool Border3D() const { return border3D_; }
  void SetBorder3D(bool value);
  int BorderInset() const override { return border3D_ ? 2 : 0; }

  // The canvas DrawItem draws on: the list's own surface, client coordinates.
  gdi::TCanvas& Canvas();

  TDrawItemEvent OnDrawItem;

  // Draws line Index into Rect: OnDrawItem when set, else the default (background or
  // selection colour, then the text 2 pixels from the left).
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);

  // The user picked a line (mouse or keys): select it, make it visible, run Click().
  void SelectByUser(int index);
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void Invalidate() override;

  // Toolkit side.
  void HandleMouseDown(int x, int y, bool doubleClick);
  // The visible area changed size: the scroll range follows.
  void ViewportResized();
  void PaintLines(QWidget* target);

 protected:
  // The lines changed: keep the selection in range, scroll range and repaint.
  virtual void ItemsChanged();
  void ScrollIntoView(int index);
  void FontChanged() override;

 private:
  void UpdateScrollBar();

  TStrings items_;
  int itemIndex_ = -1;
  int itemHeight_ = 13;
  int topIndex_ = 0;
  bool border3D_ = true;
  std::unique_ptr<gdi::Dib> surface_;
  std::unique_ptr<gdi::TCanvas> canvas_;
};

// The plain list of lines.
class TListBox : public TCustomListBox {
 public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
  std::string ClassName() const override { return "TListBox"; }
};
