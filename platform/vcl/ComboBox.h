#pragma once
// A drop-down list to pick from (no typing).  OnClick is raised when the user picks a line
// (with the mouse, or with the arrow keys on the closed list, each key press a pick of its
// own), before OnChange; setting ItemIndex from code raises nothing.  In the owner-drawn
// style the lines (and the closed box's line) are drawn by DrawItem with a fixed height.

#include "platform/gdi/Canvas.h"
#include "platform/vcl/ListBox.h"
#include "platform/vcl/Strings.h"
#include "platform/vcl/WinControl.h"

class QPainter;

enum class TComboBoxStyle : uint8_t { csDropDownList, csOwnerDrawFixed };

class TCustomComboBox : public TWinControl {
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  std::string ClassName() const override { return "TCustomComboBox"; }

  TStrings& Items() { return items_; }
  const TStrings& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  virtual void SetItemIndex(int value);
  // The selected line's text, or "" when none.
  std::string Text() const;
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int value);
  bool Sorted() const { return items_.Sorted(); }
  void SetSorted(bool value) { items_.SetSorted(value); }
  bool DroppedDown() const;
  void SetDroppedDown(bool value);

  TNotifyEvent OnChange;
  TDrawItemEvent OnDrawItem;

  // Draws line Index into Rect of Canvas() (owner-drawn style).
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  gdi::TCanvas& Canvas();

  // The user picked a line: select it, raise OnClick (Click()), then OnChange.
  void SelectByUser(int index);
  virtual void Change();

  // Toolkit side: draws line Index (or the closed box's line) through DrawItem.
  void PaintItem(QPainter* painter, int index, const TRect& rect, TOwnerDrawState state);

 protected:
  virtual void ItemsChanged();
  void FontChanged() override;

 private:
  void SyncWidgetItems();

  TStrings items_;
  int itemIndex_ = -1;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDownList;
  int itemHeight_ = 16;
  bool syncing_ = false;
  std::unique_ptr<gdi::Dib> surface_;
  std::unique_ptr<gdi::TCanvas> canvas_;
};

// The plain pick-from-the-list combo box.
class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
  std::string ClassName() const override { return "TComboBox"; }
};
