// Docking by Align: sides in the order top, bottom, left, right, client; controls of one
// side in creation order; borders and bevels of panels; constraints.

#include <gtest/gtest.h>

#include "platform/vcl/Form.h"
#include "platform/vcl/Panel.h"

namespace {

class Box : public TCustomControl {
 public:
  Box(TWinControl* parent, TAlign align, int l, int t, int w, int h) : TCustomControl(parent) {
    SetBounds(l, t, w, h);
    SetAlign(align);
    SetParent(parent);
  }
};

TEST(Docking, SidesAreServedInTheirOrderAndClientTakesTheRest) {
  TForm form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  // Created in an order unlike the docking order.
  auto* client = new Box(&form, TAlign::alClient, 0, 0, 10, 10);
  auto* right = new Box(&form, TAlign::alRight, 0, 0, 40, 10);
  auto* left = new Box(&form, TAlign::alLeft, 0, 0, 30, 10);
  auto* bottom = new Box(&form, TAlign::alBottom, 0, 0, 10, 20);
  auto* top = new Box(&form, TAlign::alTop, 0, 0, 10, 25);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 25));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 180, 300, 200));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 25, 30, 180));
  EXPECT_EQ(right->BoundsRect(), Rect(260, 25, 300, 180));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 25, 260, 180));

  // A change of size moves the neighbours; hiding a control gives its space away.
  left->SetWidth(50);
  EXPECT_EQ(client->BoundsRect(), Rect(50, 25, 260, 180));
  top->Hide();
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 50, 180));
  form.SetClientWidth(400);
  EXPECT_EQ(right->BoundsRect(), Rect(360, 0, 400, 180));
  EXPECT_EQ(client->BoundsRect(), Rect(50, 0, 360, 180));
}

TEST(Docking, ControlsOfOneSideDockInCreationOrder) {
  TForm form(nullptr);
  form.SetClientWidth(200);
  form.SetClientHeight(300);
  // Design positions do not reorder them: the first created sits outermost.
  auto* first = new Box(&form, TAlign::alTop, 0, 50, 10, 20);
  auto* second = new Box(&form, TAlign::alTop, 0, 0, 10, 30);
  auto* a = new Box(&form, TAlign::alLeft, 100, 0, 15, 10);
  auto* b = new Box(&form, TAlign::alLeft, 0, 0, 25, 10);
  auto* c = new Box(&form, TAlign::alRight, 0, 0, 5, 10);
  auto* d = new Box(&form, TAlign::alRight, 0, 0, 7, 10);
  EXPECT_EQ(first->BoundsRect(), Rect(0, 0, 200, 20));
  EXPECT_EQ(second->BoundsRect(), Rect(0, 20, 200, 50));
  EXPECT_EQ(a->Left(), 0);
  EXPECT_EQ(b->Left(), 15);
  EXPECT_EQ(c->Left(), 195);
  EXPECT_EQ(d->Left(), 188);
  // A size change keeps the order.
  first->SetHeight(40);
  EXPECT_EQ(second->Top(), 40);
}

TEST(Docking, PanelBorderAndBevelsInsetTheDockingArea) {
  TForm form(nullptr);
  form.SetClientWidth(400);
  form.SetClientHeight(800);
  auto* panel = new TPanel(&form);
  panel->SetBounds(0, 0, 145, 764);
  panel->SetParent(&form);
  panel->SetBorderStyle(TBorderStyle::bsSingle);
  panel->SetBevelOuter(TPanelBevel::bvRaised);
  auto* top = new Box(panel, TAlign::alTop, 0, 0, 10, 144);
  auto* rest = new Box(panel, TAlign::alClient, 0, 0, 10, 10);
  EXPECT_EQ(panel->ClientWidth(), 141);
  EXPECT_EQ(panel->ClientHeight(), 760);
  EXPECT_EQ(top->BoundsRect(), Rect(1, 1, 140, 145));
  EXPECT_EQ(rest->BoundsRect(), Rect(1, 145, 140, 759));
  panel->SetBevelInner(TPanelBevel::bvLowered);
  EXPECT_EQ(top->BoundsRect(), Rect(2, 2, 139, 146));
  panel->SetBevelOuter(TPanelBevel::bvNone);
  panel->SetBevelInner(TPanelBevel::bvNone);
  panel->SetBorderStyle(TBorderStyle::bsNone);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 145, 144));
}

TEST(Docking, ConstraintsHoldAgainstDockingAndCode) {
  TForm form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  auto* left = new Box(&form, TAlign::alLeft, 0, 0, 100, 10);
  left->Constraints().MinWidth = 20;
  left->SetWidth(5);
  EXPECT_EQ(left->Width(), 20);
  auto* top = new Box(&form, TAlign::alTop, 0, 0, 10, 5);
  top->Constraints().MinHeight = 25;
  top->SetHeight(0);
  EXPECT_EQ(top->Height(), 25);
  EXPECT_EQ(left->Top(), 25);
}

}  // namespace
