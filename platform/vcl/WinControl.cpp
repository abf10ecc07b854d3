#include "platform/vcl/WinControl.h"

#include <QWidget>
#include <algorithm>

#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  // Children that outlive this control (freed later by their owner) must not keep a widget
  // that Qt would delete with ours.
  for (TControl* c : controls_) {
    c->parent_ = nullptr;
    if (c->Widget()) c->Widget()->setParent(nullptr);
  }
  controls_.clear();
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  if (c->Align() != TAlign::alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (c->Align() != TAlign::alNone && !Destroying()) Realign();
}

void TWinControl::SetTabOrder(int value) { tabOrder_ = value; }

void TWinControl::SetTabStop(bool value) {
  tabStop_ = value;
  if (Widget()) Widget()->setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Enabled() || !c->Visible()) return false;
  return Showing();
}

void TWinControl::SetFocus() {
  if (Widget()) Widget()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return Widget() && Widget()->hasFocus(); }

void TWinControl::Realign() {
  if (aligning_) return;
  aligning_ = true;
  TRect r = AlignRect();
  constexpr TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient};
  for (TAlign align : kOrder) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Visible() && c->Align() == align) list.push_back(c);
    for (TControl* c : list) {
      const int w = std::max(r.Width(), 0), h = std::max(r.Height(), 0);
      switch (align) {
        case TAlign::alTop:
          c->SetBoundsRaw(r.Left, r.Top, w, c->Height());
          r.Top += c->Height();
          break;
        case TAlign::alBottom:
          c->SetBoundsRaw(r.Left, r.Bottom - c->Height(), w, c->Height());
          r.Bottom -= c->Height();
          break;
        case TAlign::alLeft:
          c->SetBoundsRaw(r.Left, r.Top, c->Width(), h);
          r.Left += c->Width();
          break;
        case TAlign::alRight:
          c->SetBoundsRaw(r.Right - c->Width(), r.Top, c->Width(), h);
          r.Right -= c->Width();
          break;
        case TAlign::alClient:
          c->SetBoundsRaw(r.Left, r.Top, w, h);
          break;
        case TAlign::alNone: break;
      }
    }
  }
  aligning_ = false;
}

void TWinControl::Resized() { Realign(); }

void TWinControl::ChildrenGeometryChanged() {
  for (TControl* c : controls_) c->ApplyGeometry();
}

void TWinControl::HandleNeeded() {
  if (!handleAllocated_) {
    handleAllocated_ = true;
    CreateWnd();
  }
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
}

void TWinControl::CollectTabChain(std::vector<QWidget*>& chain) const {
  std::vector<TWinControl*> list;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) list.push_back(w);
  std::stable_sort(list.begin(), list.end(),
                   [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (TWinControl* w : list) {
    if (w->TabStop() && w->Widget()) chain.push_back(w->Widget());
    w->CollectTabChain(chain);
  }
}

void TWinControl::ApplyTabOrder() {
  std::vector<QWidget*> chain;
  CollectTabChain(chain);
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::ApplyStyle() {
  TControl::ApplyStyle();
  for (TControl* c : controls_) c->ApplyStyle();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_)
    if (c->ParentFont()) c->TakeParentFont();
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
