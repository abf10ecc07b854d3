#include "platform/win/SendKeys.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>

#include <memory>
#include <vector>

namespace {

struct SeenKey {
  QEvent::Type Type;
  int Key;
  quint32 VirtualKey;
  Qt::KeyboardModifiers Modifiers;
};

class KeyRecorder : public QObject {
 public:
  std::vector<SeenKey> Seen;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
      auto* k = static_cast<QKeyEvent*>(e);
      Seen.push_back({e->type(), k->key(), k->nativeVirtualKey(), k->modifiers()});
    }
    return false;
  }
};

class SendKeysTest : public testing::Test {
 protected:
  void SetUp() override {
    list_ = std::make_unique<QListWidget>();
    list_->addItems({"a.jpg", "b.jpg", "c.jpg"});
    list_->setCurrentRow(1);
    list_->show();
    list_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list_.get()));
    list_->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), list_.get());
    list_->installEventFilter(&recorder_);
  }

  std::unique_ptr<QListWidget> list_;
  KeyRecorder recorder_;
};

struct ArrowCase {
  const char* Keys;
  int QtKey;
  quint32 VirtualKey;
  int RowAfter;
};

class SendArrowTest : public SendKeysTest, public testing::WithParamInterface<ArrowCase> {};

TEST_P(SendArrowTest, PressesAndReleasesTheKeyOnceAndHandlesItBeforeReturning) {
  const ArrowCase& c = GetParam();
  ASSERT_TRUE(win::SendKeys(c.Keys, true));
  // No event loop has run: the wait flag made the list handle both events already.
  EXPECT_EQ(list_->currentRow(), c.RowAfter);
  ASSERT_EQ(recorder_.Seen.size(), 2u);
  EXPECT_EQ(recorder_.Seen[0].Type, QEvent::KeyPress);
  EXPECT_EQ(recorder_.Seen[1].Type, QEvent::KeyRelease);
  for (const SeenKey& k : recorder_.Seen) {
    EXPECT_EQ(k.Key, c.QtKey);
    EXPECT_EQ(k.VirtualKey, c.VirtualKey);
    EXPECT_EQ(k.Modifiers, Qt::NoModifier);
  }
}

INSTANTIATE_TEST_SUITE_P(Arrows, SendArrowTest,
                         testing::Values(ArrowCase{"{UP}", Qt::Key_Up, 38, 0}, ArrowCase{"{DOWN}", Qt::Key_Down, 40, 2}));

TEST_F(SendKeysTest, WithoutWaitTheKeysWaitForTheEventLoop) {
  ASSERT_TRUE(win::SendKeys("{DOWN}", false));
  EXPECT_EQ(list_->currentRow(), 1);
  EXPECT_TRUE(recorder_.Seen.empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(list_->currentRow(), 2);
  EXPECT_EQ(recorder_.Seen.size(), 2u);
}

TEST_F(SendKeysTest, SeveralKeysAndPlainCharactersGoInOrder) {
  ASSERT_TRUE(win::SendKeys("{DOWN}{UP}{UP}x{{}", true));
  EXPECT_EQ(list_->currentRow(), 0);
  ASSERT_EQ(recorder_.Seen.size(), 10u);
  const int pressed[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_X, Qt::Key_BraceLeft};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(recorder_.Seen[2 * i].Key, pressed[i]) << i;
}

TEST_F(SendKeysTest, AStringItCannotParseSendsNothing) {
  for (const char* bad : {"{NOPE}", "{UP", "{F13}", "{}", "\x01"}) {
    EXPECT_FALSE(win::SendKeys(bad, true)) << bad;
  }
  EXPECT_TRUE(recorder_.Seen.empty());
  EXPECT_EQ(list_->currentRow(), 1);
}

TEST_F(SendKeysTest, NoFocusedWidgetMeansNoKeys) {
  list_->hide();
  QCoreApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), nullptr);
  EXPECT_FALSE(win::SendKeys("{DOWN}", true));
  EXPECT_TRUE(recorder_.Seen.empty());
}

}  // namespace

