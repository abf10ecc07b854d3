// The main window as built: docking results, captions, enabled states, fonts, tab order
// and the events bound.

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/vcl/Application.h"
#include "test1/Form1.h"

namespace {

class Form1Test : public testing::Test {
 protected:
  void SetUp() override {
    Application->SetTitle("Mirelune");
    Application->SetCommandLine({"mirelune"});
    form_ = std::make_unique<TForm1>(nullptr);
  }
  void TearDown() override {
    form_->BeforeDestruction();
    form_.reset();
    Application->ClearTerminated();
  }
  std::unique_ptr<TForm1> form_;
};

struct Bounds {
  const char* name;
  int left, top, width, height;
};

TEST_F(Form1Test, DockingGivesTheDesignedLayout) {
  TForm1& f = *form_;
  ASSERT_EQ(f.ClientWidth(), 1142);
  ASSERT_EQ(f.ClientHeight(), 797);
  EXPECT_EQ(f.Width(), 1150);
  EXPECT_EQ(f.Height(), 831);
  const Bounds expected[] = {
      {"Panel3", 0, 0, 1142, 33},          {"Panel1", 0, 33, 145, 764},
      {"Splitter2", 145, 33, 3, 764},      {"Image1", 148, 33, 994, 764},
      {"DirectoryListBox1", 1, 1, 139, 144}, {"Splitter1", 1, 145, 139, 3},
      {"FileListBox1", 1, 148, 139, 611},  {"DriveComboBox1", 5, 7, 188, 19},
      {"Scale", 198, 6, 58, 21},           {"PixelFormat", 261, 6, 67, 21},
      {"ColorSpace", 332, 6, 72, 21},      {"Performance", 409, 6, 75, 21},
      {"ProgressiveDisplay", 491, 2, 124, 14}, {"IncrementalDisplay", 491, 17, 137, 14},
      {"Button1", 635, 4, 25, 22},         {"Button2", 662, 4, 25, 22},
      {"Button3", 689, 4, 25, 22},         {"Button4", 716, 4, 25, 22},
      {"Button5", 743, 4, 44, 22},
  };
  for (const Bounds& b : expected) {
    auto* c = dynamic_cast<TControl*>(f.FindComponent(b.name));
    ASSERT_NE(c, nullptr) << b.name;
    EXPECT_EQ(c->BoundsRect(), Rect(b.left, b.top, b.left + b.width, b.top + b.height)) << b.name;
  }
  // The widgets sit where the bounds say: inside Panel1's 2-pixel border.
  EXPECT_EQ(f.FileListBox1->Widget()->geometry(), QRect(3, 150, 139, 611));
  EXPECT_EQ(f.Image1->Widget()->geometry(), QRect(148, 33, 994, 764));
}

TEST_F(Form1Test, ControlsHaveTheirDesignSettings) {
  TForm1& f = *form_;
  EXPECT_EQ(f.Caption(), "Mirelune");
  for (TComboBox* c : {f.Scale, f.PixelFormat, f.ColorSpace, f.Performance}) {
    EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_EQ(c->ItemIndex(), 0) << c->Name();
    EXPECT_EQ(c->Style(), TComboBoxStyle::csDropDownList);
  }
  EXPECT_EQ(f.Scale->Items().Texts(), (std::vector<std::string>{"1:1", "1:2", "1:4", "1:8"}));
  EXPECT_EQ(f.PixelFormat->Text(), "24 bits");
  EXPECT_EQ(f.ColorSpace->Text(), "Couleur");
  EXPECT_EQ(f.Performance->Text(), "Qualité");
  EXPECT_EQ(f.ProgressiveDisplay->Caption(), "JPEG Progressif");
  EXPECT_FALSE(f.ProgressiveDisplay->Enabled());
  EXPECT_FALSE(f.ProgressiveDisplay->Checked());
  EXPECT_EQ(f.IncrementalDisplay->Caption(), "Visualisation incrémentale");
  EXPECT_TRUE(f.IncrementalDisplay->Enabled());
  EXPECT_FALSE(f.IncrementalDisplay->Checked());
  EXPECT_EQ(f.IncrementalDisplay->Font().Name(), "Arial");
  EXPECT_EQ(f.IncrementalDisplay->Font().Height(), -9);
  EXPECT_EQ(f.ProgressiveDisplay->Font().Name(), "arial");
  EXPECT_EQ(f.Font().Name(), "MS Sans Serif");
  EXPECT_EQ(f.Button4->Caption(), "©");
  EXPECT_EQ(f.Button3->Hint(), "Aide (F1)");
  EXPECT_EQ(f.DirectoryListBox1->Hint(), "Double-cliquer\r\nsur un dossier");
  EXPECT_TRUE(f.Button1->EffectiveShowHint());
  EXPECT_EQ(f.Button1->Widget()->toolTip().contains("Précédente"), true);
  EXPECT_TRUE(f.KeyPreview());
  EXPECT_TRUE(f.Image1->Proportional());
  EXPECT_FALSE(f.Image1->Stretch());
  EXPECT_FALSE(f.Image1->Center());
  EXPECT_FALSE(f.Image1->IncrementalDisplay());
  EXPECT_EQ(f.Panel1->Constraints().MinWidth, 20);
  EXPECT_EQ(f.DirectoryListBox1->Constraints().MinHeight, 25);
  EXPECT_EQ(f.DirectoryListBox1->ItemHeight(), 16);
  EXPECT_EQ(f.FileListBox1->ItemHeight(), 13);
  EXPECT_EQ(Form1, &f);
}

TEST_F(Form1Test, EventsAreBound) {
  TForm1& f = *form_;
  for (TControl* c : std::initializer_list<TControl*>{f.Scale, f.PixelFormat, f.ColorSpace, f.Performance,
                                                       f.ProgressiveDisplay, f.FileListBox1, f.Button1, f.Button2,
                                                       f.Button3, f.Button4, f.Button5})
    EXPECT_TRUE(static_cast<bool>(c->OnClick)) << c->Name();
  EXPECT_FALSE(static_cast<bool>(f.IncrementalDisplay->OnClick));
  EXPECT_FALSE(static_cast<bool>(f.DriveComboBox1->OnClick));
  EXPECT_TRUE(static_cast<bool>(f.Image1->OnProgress));
  EXPECT_TRUE(static_cast<bool>(f.OnShow));
  EXPECT_TRUE(static_cast<bool>(f.OnClose));
  EXPECT_TRUE(static_cast<bool>(f.OnKeyDown));
}

TEST_F(Form1Test, TabOrderFollowsTheTable) {
  TForm1& f = *form_;
  f.Show();
  // The chain the keyboard walks: the left column first, then the top bar.
  std::vector<QWidget*> order;
  QWidget* w = f.DirectoryListBox1->Widget();
  for (int i = 0; i < 15; ++i) {
    order.push_back(w);
    w = w->nextInFocusChain();
    while (w && (w->focusPolicy() & Qt::TabFocus) == 0) w = w->nextInFocusChain();
    if (w == f.DirectoryListBox1->Widget()) break;
  }
  const std::vector<QWidget*> expected = {
      f.DirectoryListBox1->Widget(), f.FileListBox1->Widget(), f.DriveComboBox1->Widget(), f.Scale->Widget(),
      f.PixelFormat->Widget(),       f.ColorSpace->Widget(),   f.Performance->Widget(),    f.ProgressiveDisplay->Widget(),
      f.IncrementalDisplay->Widget(), f.Button1->Widget(),     f.Button2->Widget(),        f.Button3->Widget(),
      f.Button4->Widget(),           f.Button5->Widget()};
  ASSERT_GE(order.size(), expected.size());
  order.resize(expected.size());
  EXPECT_EQ(order, expected);
  f.Hide();
}

TEST_F(Form1Test, StartupFileNameIsTheFirstArgument) {
  form_.reset();
  Application->SetCommandLine({"mirelune", "/tmp/mes photos/a b.jpg", "second"});
  form_ = std::make_unique<TForm1>(nullptr);
  EXPECT_EQ(StartupFileName, "/tmp/mes photos/a b.jpg");
  form_.reset();
  Application->SetCommandLine({"mirelune"});
  form_ = std::make_unique<TForm1>(nullptr);
  EXPECT_EQ(StartupFileName, "");
}

TEST_F(Form1Test, ClosingTheWindowEndsTheProgram) {
  TForm1& f = *form_;
  f.Show();
  ASSERT_FALSE(Application->Terminated());
  ASSERT_TRUE(f.Widget()->close() == false);  // the close box: the form hides itself
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(f.Widget()->isVisible());
}

}  // namespace
