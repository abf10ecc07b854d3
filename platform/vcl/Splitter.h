#pragma once
// A splitter: a thin bar docked beside another docked control; dragging it resizes that
// control.  While the mouse button is held a hatched line shows where the edge will go; the
// size is applied on release; Escape cancels.  A drag that would leave the control MinSize
// pixels or smaller collapses it (as far as the control's own minimum size allows) when
// AutoSnap is on; the space left to the client-aligned control stays at least MinSize.

#include "platform/vcl/Control.h"

enum class TResizeStyle : uint8_t { rsNone, rsLine, rsUpdate, rsPattern };

class TSplitter : public TControl {
 public:
  explicit TSplitter(TComponent* AOwner);
  std::string ClassName() const override { return "TSplitter"; }

  int MinSize() const { return minSize_; }
  void SetMinSize(int value) { minSize_ = value; }
  bool AutoSnap() const { return autoSnap_; }
  void SetAutoSnap(bool value) { autoSnap_ = value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value);
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }

  TNotifyEvent OnMoved;

  // The control this splitter resizes: the docked neighbour on its aligned side.
  TControl* ResizeControl() const;

  // The drag, in the parent's client coordinates (the toolkit side calls these; tests too).
  // Answers false when there is nothing to resize.
  bool BeginDrag(int parentX, int parentY);
  void DragTo(int parentX, int parentY);
  void EndDrag();
  void CancelDrag();
  bool Dragging() const { return dragging_; }
  // The size the control would get if the button were released now.
  int PendingSize() const { return newSize_; }
  // The hatched line's rectangle in the parent's client coordinates (empty when not dragging).
  TRect FeedbackRect() const;

 private:
  bool Vertical() const;  // a left or right splitter (moves horizontally)
  int ControlSize(const TControl& c) const;
  int ComputeMaxSize() const;
  void UpdatePendingSize(int parentX, int parentY);
  void ShowFeedback();
  void HideFeedback();

  int minSize_ = 30;
  bool autoSnap_ = true;
  bool beveled_ = false;
  TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;

  bool dragging_ = false;
  TControl* control_ = nullptr;
  int downPos_ = 0;
  int oldSize_ = 0;
  int maxSize_ = 0;
  int newSize_ = 0;
  QWidget* feedback_ = nullptr;  // the hatched line, a child of the parent's widget
};
