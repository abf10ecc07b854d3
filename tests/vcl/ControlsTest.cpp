// The controls' events as the user raises them and as code raises them.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/vcl/Application.h"
#include "platform/vcl/Button.h"
#include "platform/vcl/CheckBox.h"
#include "platform/vcl/ComboBox.h"
#include "platform/vcl/Form.h"
#include "platform/vcl/Label.h"
#include "platform/vcl/ListBox.h"
#include "platform/vcl/Panel.h"

namespace {

void SendKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

void Click(QWidget* target, QPoint at, bool doubleClick = false) {
  const QPointF local(at), global(target->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
  if (doubleClick) {
    QMouseEvent dbl(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dbl);
  }
}

class ControlsTest : public testing::Test {
 protected:
  ControlsTest() : form(nullptr) {
    form.SetBounds(0, 0, 400, 300);
    form.SetShowHint(true);
  }
  template <class T>
  T* Add(int l, int t, int w, int h) {
    auto* c = new T(&form);  // owned by the form
    c->SetBounds(l, t, w, h);
    c->SetParent(&form);
    return c;
  }
  TForm form;
  int clicks = 0;
  TNotifyEvent counter = [this](TObject*) { ++clicks; };
};

TEST_F(ControlsTest, ComboBoxRaisesClickOnlyWhenTheUserPicks) {
  auto* combo = Add<TComboBox>(10, 10, 80, 21);
  combo->Items().SetTexts({"1:1", "1:2", "1:4", "1:8"});
  int changes = 0;
  std::vector<std::string> order;
  combo->OnClick = [&](TObject*) { order.push_back("click " + combo->Text()); };
  combo->OnChange = [&](TObject*) {
    ++changes;
    order.push_back("change");
  };
  combo->SetItemIndex(0);
  combo->SetItemIndex(2);
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(combo->Text(), "1:4");

  form.Show();
  combo->SetFocus();
  SendKey(combo->Widget(), Qt::Key_Down);  // a pick on the closed list
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(order, (std::vector<std::string>{"click 1:8", "change"}));

  // Picking with the mouse in the open list comes through the same signal.
  emit static_cast<QComboBox*>(combo->Widget())->activated(1);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(changes, 2);
  form.Hide();
}

TEST_F(ControlsTest, CheckBoxRaisesClickOnEveryChangeOfState) {
  auto* box = Add<TCheckBox>(10, 40, 120, 17);
  box->OnClick = counter;
  box->SetChecked(false);  // no change
  EXPECT_EQ(clicks, 0);
  box->SetChecked(true);  // from code, a new value
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(static_cast<QAbstractButton*>(box->Widget())->isChecked());
  static_cast<QAbstractButton*>(box->Widget())->click();  // by the user
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(box->Checked());
}

TEST_F(ControlsTest, ListBoxSelectsByMouseAndKeysAndRaisesClick) {
  auto* list = Add<TListBox>(10, 70, 120, 4 + 13 * 5);
  list->SetItemHeight(13);
  list->SetSorted(true);
  for (const char* name : {"b.jpg", "C.jpg", "a.jpg", "d.bmp", "e.ico", "f.wmf", "g.emf"}) list->Items().Add(name);
  EXPECT_EQ(list->Items().Texts(),
            (std::vector<std::string>{"a.jpg", "b.jpg", "C.jpg", "d.bmp", "e.ico", "f.wmf", "g.emf"}));
  int dbl = 0;
  list->OnClick = counter;
  list->OnDblClick = [&](TObject*) { ++dbl; };
  list->SetItemIndex(1);  // from code: no click
  EXPECT_EQ(clicks, 0);

  form.Show();
  list->SetFocus();
  SendKey(list->Widget(), Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  SendKey(list->Widget(), Qt::Key_End);
  EXPECT_EQ(list->ItemIndex(), 6);
  EXPECT_GT(list->TopIndex(), 0);  // scrolled to show the selection
  SendKey(list->Widget(), Qt::Key_Down);  // already at the last line: nothing happens
  EXPECT_EQ(clicks, 2);

  list->SetTopIndex(0);
  QWidget* viewport = list->Widget()->findChild<QWidget*>("qt_scrollarea_viewport");
  ASSERT_NE(viewport, nullptr);
  Click(viewport, QPoint(5, 13 * 3 + 2), true);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(dbl, 1);
  form.Hide();
}

TEST_F(ControlsTest, ListBoxDrawsItsLinesThroughDrawItem) {
  auto* list = Add<TListBox>(10, 70, 120, 4 + 13 * 3);
  list->SetItemHeight(13);
  list->Items().SetTexts({"un", "deux", "trois", "quatre"});
  list->SetItemIndex(1);
  std::vector<std::pair<int, TOwnerDrawState>> drawn;
  list->OnDrawItem = [&](TObject*, int index, const TRect& r, TOwnerDrawState state) {
    drawn.emplace_back(index, state);
    EXPECT_EQ(r.Height(), 13);
    EXPECT_EQ(r.Top, (index - list->TopIndex()) * 13);
  };
  form.Show();
  QApplication::processEvents();
  QWidget* viewport = list->Widget()->findChild<QWidget*>("qt_scrollarea_viewport");
  viewport->repaint();
  ASSERT_FALSE(drawn.empty());
  bool sawSelected = false;
  for (auto [index, state] : drawn) {
    EXPECT_LT(index, 4);
    if (index == 1) sawSelected = (state & odSelected) != 0;
    else EXPECT_EQ(state & odSelected, 0u);
  }
  EXPECT_TRUE(sawSelected);
  form.Hide();
}

TEST_F(ControlsTest, KeyPreviewSeesKeysFirstAndCanStopThem) {
  auto* list = Add<TListBox>(10, 70, 120, 60);
  list->Items().SetTexts({"a", "b", "c"});
  list->SetItemIndex(0);
  std::vector<uint16_t> seen;
  form.SetKeyPreview(true);
  form.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
    seen.push_back(key);
    if (key == VK_F1) key = 0;
  };
  form.Show();
  list->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(list->Focused());
  SendKey(list->Widget(), Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 1);  // the window saw it, then the list
  SendKey(list->Widget(), Qt::Key_F1);
  EXPECT_EQ(seen, (std::vector<uint16_t>{VK_DOWN, VK_F1}));
  form.SetKeyPreview(false);
  SendKey(list->Widget(), Qt::Key_Up);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(list->ItemIndex(), 0);
  form.Hide();
}

TEST_F(ControlsTest, ModalWindowEndsWithTheButtonsResult) {
  auto* ok = Add<TButton>(95, 70, 75, 25);
  ok->SetCaption("Ok");
  ok->SetCancel(true);
  ok->SetModalResult(mrOk);
  // Escape presses the cancel button, whose result ends the modal run.
  QTimer::singleShot(0, [&] {
    QWidget* focus = QApplication::focusWidget();
    SendKey(focus ? focus : form.Widget(), Qt::Key_Escape);
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_FALSE(form.Widget()->isVisible());
  // The close box ends it with cancel.
  QTimer::singleShot(0, [&] { form.Widget()->close(); });
  EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST_F(ControlsTest, CloseAsksTheWindowFirst) {
  bool allow = false;
  std::vector<std::string> order;
  form.OnCloseQuery = [&](TObject*, bool& canClose) {
    order.push_back("query");
    canClose = allow;
  };
  form.OnClose = [&](TObject*, TCloseAction&) { order.push_back("close"); };
  form.Show();
  form.Close();
  EXPECT_TRUE(form.Widget()->isVisible());
  allow = true;
  form.Widget()->close();
  EXPECT_FALSE(form.Widget()->isVisible());
  EXPECT_EQ(order, (std::vector<std::string>{"query", "query", "close"}));
}

TEST_F(ControlsTest, HintsShowAsTooltipsWhenTheWindowShowsHints) {
  auto* b = Add<TButton>(10, 10, 25, 22);
  b->SetHint("Double-cliquer\r\nsur un dossier");
  EXPECT_TRUE(b->Widget()->toolTip().contains("Double-cliquer<br>sur un dossier"));
  form.SetShowHint(false);
  EXPECT_TRUE(b->Widget()->toolTip().isEmpty());
  b->SetShowHint(true);
  EXPECT_FALSE(b->Widget()->toolTip().isEmpty());
}

TEST_F(ControlsTest, ChildrenTakeTheParentsFontUntilTheyGetTheirOwn) {
  auto* panel = Add<TPanel>(0, 0, 200, 40);
  auto* label = new TLabel(&form);
  label->SetParent(panel);
  form.Font().SetName("Arial");
  EXPECT_EQ(label->Font().Name(), "Arial");
  label->Font().SetHeight(-20);
  EXPECT_FALSE(label->ParentFont());
  form.Font().SetName("MS Sans Serif");
  EXPECT_EQ(panel->Font().Name(), "MS Sans Serif");
  EXPECT_EQ(label->Font().Name(), "Arial");
}

TEST_F(ControlsTest, LabelBreaksOnlyAtLineBreaksAndKeepsAFixedSize) {
  auto* label = Add<TLabel>(12, 11, 242, 40);
  label->SetAutoSize(false);
  label->SetWordWrap(false);
  label->SetAlignment(TAlignment::taCenter);
  label->SetCaption("Mirelune version 1.0\r\nun visualiseur d'images rapide et libre pour tous");
  EXPECT_EQ(label->BoundsRect(), Rect(12, 11, 254, 51));
  auto* w = static_cast<QLabel*>(label->Widget());
  EXPECT_EQ(w->text().count(QLatin1Char('\n')), 1);
  EXPECT_FALSE(w->wordWrap());
  EXPECT_TRUE(w->alignment() & Qt::AlignHCenter);
  label->SetAutoSize(true);
  EXPECT_GT(label->Width(), 242);  // one long line: the label grows to hold it
}

TEST_F(ControlsTest, FormGeometryIsTheOuterFrame) {
  form.SetBounds(10, 20, 1150, 831);
  EXPECT_EQ(form.ClientWidth(), 1142);
  EXPECT_EQ(form.ClientHeight(), 797);
  EXPECT_EQ(form.Widget()->geometry(), QRect(14, 50, 1142, 797));
  // Once the real frame is known the outer size stays and the client area gives way.
  form.FrameChanged(TFrameExtents{1, 20, 1, 1});
  EXPECT_EQ(form.Width(), 1150);
  EXPECT_EQ(form.ClientWidth(), 1148);
  EXPECT_EQ(form.ClientHeight(), 810);
  EXPECT_EQ(form.Widget()->geometry(), QRect(11, 40, 1148, 810));
  form.FrameChanged(TFrameExtents{});
  form.SetClientWidth(265);
  form.SetClientHeight(103);
  EXPECT_EQ(form.Width(), 273);
  EXPECT_EQ(form.Height(), 137);
  // A tool window keeps the size the program gives it.
  form.SetBorderStyle(TFormBorderStyle::bsToolWindow);
  EXPECT_EQ(form.Widget()->minimumSize(), QSize(265, 103));
  EXPECT_EQ(form.Widget()->maximumSize(), QSize(265, 103));
  form.SetClientWidth(300);
  EXPECT_EQ(form.Widget()->maximumSize(), QSize(300, 103));
}

TEST(Components, OwnerFreesWhatItOwnsAndFindsByName) {
  struct Probe : TComponent {
    Probe(TComponent* owner, std::vector<std::string>& log, std::string name) : TComponent(owner), log_(log) {
      SetName(std::move(name));
    }
    ~Probe() override { log_.push_back(Name()); }
    std::vector<std::string>& log_;
  };
  std::vector<std::string> log;
  {
    TComponent owner(nullptr);
    new Probe(&owner, log, "Premier");  // owned
    new Probe(&owner, log, "Second");   // owned
    EXPECT_EQ(owner.FindComponent("second")->Name(), "Second");
    EXPECT_EQ(owner.FindComponent("Troisième"), nullptr);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"Second", "Premier"}));
}

}  // namespace
