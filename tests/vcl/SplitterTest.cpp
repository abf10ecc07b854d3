// Splitters: the size applies on release, snapping at the minimum size, the neighbour's own
// minimum, the room kept for the rest, the hatched line while dragging, Escape.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/vcl/Form.h"
#include "platform/vcl/Panel.h"
#include "platform/vcl/Splitter.h"

namespace {

class SplitterTest : public testing::Test {
 protected:
  SplitterTest() : form(nullptr) {
    form.SetClientWidth(1142);
    form.SetClientHeight(797);
    panel = new TPanel(&form);
    panel->SetBounds(0, 0, 145, 797);
    panel->SetAlign(TAlign::alLeft);
    panel->Constraints().MinWidth = 20;
    panel->SetParent(&form);
    splitter = new TSplitter(&form);
    splitter->SetBounds(145, 0, 3, 797);
    splitter->SetAlign(TAlign::alLeft);
    splitter->SetParent(&form);
    rest = new TPanel(&form);
    rest->SetAlign(TAlign::alClient);
    rest->SetParent(&form);
    splitter->OnMoved = [this](TObject*) { ++moved; };
  }
  // A drag of the splitter's middle from its place by dx.
  void Drag(int dx) {
    ASSERT_TRUE(splitter->BeginDrag(146, 400));
    splitter->DragTo(146 + dx, 400);
  }
  TForm form;
  TPanel* panel;
  TSplitter* splitter;
  TPanel* rest;
  int moved = 0;
};

TEST_F(SplitterTest, SizeIsAppliedOnReleaseNotWhileDragging) {
  EXPECT_EQ(splitter->ResizeControl(), panel);
  Drag(55);
  EXPECT_EQ(panel->Width(), 145);
  EXPECT_EQ(splitter->PendingSize(), 200);
  EXPECT_EQ(splitter->FeedbackRect(), Rect(200, 0, 203, 797));
  splitter->EndDrag();
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(splitter->Left(), 200);
  EXPECT_EQ(rest->Left(), 203);
  EXPECT_EQ(moved, 1);
}

struct SnapCase {
  int dx;
  int width;
};
class SplitterSnapTest : public SplitterTest, public testing::WithParamInterface<SnapCase> {};

TEST_P(SplitterSnapTest, ReleaseGivesWidth) {
  Drag(GetParam().dx);
  splitter->EndDrag();
  EXPECT_EQ(panel->Width(), GetParam().width);
}

INSTANTIATE_TEST_SUITE_P(Drags, SplitterSnapTest,
                         testing::Values(SnapCase{-114, 31},    // just above the minimum size
                                         SnapCase{-115, 20},    // 30: snaps, held by the panel's minimum
                                         SnapCase{-200, 20},    // past the edge
                                         SnapCase{964, 1109},   // the rest keeps 30 pixels
                                         SnapCase{963, 1108},
                                         SnapCase{2000, 1109},  // past the other edge
                                         SnapCase{0, 145}));    // no move

TEST_F(SplitterTest, EscapeCancelsTheDrag) {
  form.Show();
  QWidget* w = splitter->Widget();
  const QPointF at(1, 400);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  const QPointF to(81, 400);
  QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  EXPECT_TRUE(splitter->Dragging());
  EXPECT_EQ(splitter->PendingSize(), 225);
  // The hatched line is shown over the parent where the edge will go.
  QWidget* line = nullptr;
  for (QWidget* child : form.Widget()->findChildren<QWidget*>())
    if (child->isVisible() && child->geometry() == QRect(225, 0, 3, 797)) line = child;
  EXPECT_NE(line, nullptr);
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(w, &esc);
  EXPECT_FALSE(splitter->Dragging());
  QMouseEvent release(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &release);
  EXPECT_EQ(panel->Width(), 145);
  EXPECT_EQ(moved, 0);
  form.Hide();
}

TEST_F(SplitterTest, MouseDragResizesOnRelease) {
  form.Show();
  QWidget* w = splitter->Widget();
  const QPointF at(1, 10), to(-44, 10);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &release);
  EXPECT_EQ(panel->Width(), 100);
  EXPECT_EQ(rest->BoundsRect(), Rect(103, 0, 1142, 797));
  form.Hide();
}

TEST(Splitter, TopSplitterResizesTheControlAbove) {
  TForm form(nullptr);
  form.SetClientWidth(141);
  form.SetClientHeight(760);
  auto* above = new TPanel(&form);
  above->SetBounds(0, 0, 141, 144);
  above->SetAlign(TAlign::alTop);
  above->Constraints().MinHeight = 25;
  above->SetParent(&form);
  auto* splitter = new TSplitter(&form);
  splitter->SetBounds(0, 144, 141, 3);
  splitter->SetAlign(TAlign::alTop);
  splitter->SetParent(&form);
  auto* rest = new TPanel(&form);
  rest->SetAlign(TAlign::alClient);
  rest->SetParent(&form);
  ASSERT_TRUE(splitter->BeginDrag(10, 145));
  splitter->DragTo(10, 140);
  EXPECT_EQ(splitter->FeedbackRect(), Rect(0, 139, 141, 142));
  splitter->DragTo(10, 20);  // 19 pixels would be left: snaps, held at 25
  splitter->EndDrag();
  EXPECT_EQ(above->Height(), 25);
  EXPECT_EQ(rest->Top(), 28);
}

}  // namespace
