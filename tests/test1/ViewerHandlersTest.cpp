// The main window's behaviour over a folder of real pictures: the two loading roads, the
// option controls and what they enable, the progress in the title and the toolbar.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Uapropos/Form2.h"
#include "ViewerTestFolder.h"
#include "jpeg/JPEGImage.h"
#include "jpeg/JpegModule.h"
#include "picture/Bitmap.h"
#include "platform/rtl/TickCount.h"
#include "platform/vcl/Application.h"
#include "platform/win/ModuleFileName.h"
#include "test1/Form1.h"

namespace fs = std::filesystem;
using namespace viewertest;

namespace {

struct Message {
  TMessageKind Kind;
  std::string Caption, Text;
};

// The JPEG kind registered for the whole run, as the program's entry does.
class JpegKind : public testing::Environment {
 public:
  void SetUp() override { module_ = std::make_unique<TJpegModule>(); }
  void TearDown() override { module_.reset(); }

 private:
  std::unique_ptr<TJpegModule> module_;
};
const auto* const kJpegKind = testing::AddGlobalTestEnvironment(new JpegKind);  // owned by gtest

// Which of the five JPEG controls are enabled.
struct Enabled {
  bool Scale, PixelFormat, ColorSpace, Performance, Progressive;
};

class ViewerTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = fs::temp_directory_path() / ("mirelune-viewer-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    haveData_ = MakeViewerFolder(root_ / "pictures");
    // No settings file of the developer's may enter.
    fs::create_directories(root_ / "config");
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    if (!Form2) Application->CreateForm(Form2);
  }
  static void TearDownTestSuite() {
    // The file list made the folder the working folder: leave it before removing it.
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(root_);
  }

  void SetUp() override {
    if (!haveData_) GTEST_SKIP() << "sample pictures missing under " << MIRELUNE_TESTDATA;
    messages_.clear();
    Application->MessageHook = [this](TMessageKind kind, const std::string& caption, const std::string& text) {
      messages_.push_back({kind, caption, text});
    };
  }
  void TearDown() override {
    if (form_) {
      form_->BeforeDestruction();
      form_.reset();
    }
    Form1 = nullptr;
    rtl::SetTickCountSource(nullptr);
    win::SetModuleFileNameForTesting("");
    Application->ClearTerminated();
    Application->MessageHook = [](TMessageKind, const std::string& caption, const std::string& text) {
      ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
    };
  }

  // The main window started with the given arguments, shown, listing the picture folder.
  TForm1& Start(std::vector<std::string> args = {}) {
    args.insert(args.begin(), "mirelune");
    Application->SetCommandLine(args);
    form_ = std::make_unique<TForm1>(nullptr);
    form_->Show();
    form_->FileListBox1->SetDirectory(Folder().string());
    QCoreApplication::processEvents();
    return *form_;
  }
  static fs::path Folder() { return root_ / "pictures"; }
  static std::string PathOf(const char* name) { return (Folder() / name).string(); }

  // Selects a line as a user's pick does (the list raises its click event).
  void Pick(const char* name) {
    const int line = form_->FileListBox1->Items().IndexOf(name);
    ASSERT_GE(line, 0) << name;
    form_->FileListBox1->SelectByUser(line);
  }
  TGraphic* Shown() { return form_->Image1->Picture().Graphic(); }
  TJPEGImage* ShownJpeg() { return dynamic_cast<TJPEGImage*>(Shown()); }
  // Runs the view's pending paint now (a JPEG picture decodes here).
  void Paint() { form_->Image1->Update(); }

  Enabled Controls() {
    return {form_->Scale->Enabled(), form_->PixelFormat->Enabled(), form_->ColorSpace->Enabled(),
            form_->Performance->Enabled(), form_->ProgressiveDisplay->Enabled()};
  }
  void ExpectControls(Enabled e) {
    const Enabled c = Controls();
    EXPECT_EQ(c.Scale, e.Scale);
    EXPECT_EQ(c.PixelFormat, e.PixelFormat);
    EXPECT_EQ(c.ColorSpace, e.ColorSpace);
    EXPECT_EQ(c.Performance, e.Performance);
    EXPECT_EQ(c.Progressive, e.Progressive);
  }

  static inline fs::path root_;
  static inline bool haveData_ = false;
  std::unique_ptr<TForm1> form_;
  std::vector<Message> messages_;
};

constexpr Enabled kAllOff{false, false, false, false, false};
constexpr Enabled kBaselineJpeg{true, true, true, true, false};
constexpr Enabled kProgressiveJpeg{true, true, true, true, true};

// ---- loading from the file list and what the option controls allow ----

TEST_F(ViewerTest, StartedWithoutArgumentTheViewIsEmptyAndOnlyIncrementalDisplayIsEnabled) {
  TForm1& f = Start();
  EXPECT_EQ(Shown(), nullptr);
  ExpectControls(kAllOff);
  EXPECT_TRUE(f.IncrementalDisplay->Enabled());
  EXPECT_EQ(f.FileListBox1->Items().Count(), 7) << "the mask lists every sample";
}

TEST_F(ViewerTest, ABaselineJpegEnablesTheFourListsAndAProgressiveOneAlsoPassByPassDisplay) {
  Start();
  Pick(kBaseline);
  ASSERT_NE(ShownJpeg(), nullptr);
  EXPECT_FALSE(ShownJpeg()->MultiScan());
  ExpectControls(kBaselineJpeg);

  Pick(kProgressive);
  ASSERT_NE(ShownJpeg(), nullptr);
  EXPECT_TRUE(ShownJpeg()->MultiScan());
  ExpectControls(kProgressiveJpeg);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ViewerTest, ABitmapAfterAJpegDisablesTheFiveControlsAndKeepsTheirLines) {
  TForm1& f = Start();
  Pick(kProgressive);
  f.Scale->SelectByUser(2);
  f.ColorSpace->SelectByUser(1);
  f.ProgressiveDisplay->HandleToggled(true);

  Pick(kBitmap);
  ASSERT_NE(dynamic_cast<TBitmap*>(Shown()), nullptr);
  EXPECT_EQ(Shown()->Width(), 127);
  ExpectControls(kAllOff);
  EXPECT_EQ(f.Scale->ItemIndex(), 2);
  EXPECT_EQ(f.PixelFormat->ItemIndex(), 0);
  EXPECT_EQ(f.ColorSpace->ItemIndex(), 1);
  EXPECT_EQ(f.Performance->ItemIndex(), 0);
  EXPECT_TRUE(f.ProgressiveDisplay->Checked());

  // And they apply to the next JPEG picture.
  Pick(kBaseline);
  ASSERT_NE(ShownJpeg(), nullptr);
  EXPECT_EQ(ShownJpeg()->Scale(), TJPEGScale::jsQuarter);
  EXPECT_TRUE(ShownJpeg()->GreyOutput());
  EXPECT_TRUE(ShownJpeg()->ProgressiveDisplay());
}

struct OptionLines {
  int Scale, PixelFormat, ColorSpace, Performance;
  bool Progressive;
  TJPEGScale WantScale;
  TJPEGPixelFormat WantPixelFormat;
  bool WantGrey;
  TJPEGPerformance WantPerformance;
};

class OptionTableTest : public ViewerTest, public testing::WithParamInterface<OptionLines> {};

TEST_P(OptionTableTest, EachLineBecomesTheSettingOfItsIndex) {
  const OptionLines& o = GetParam();
  TForm1& f = Start();
  // Lines as the settings file restores them, before the picture is picked.
  f.Scale->SetItemIndex(o.Scale);
  f.PixelFormat->SetItemIndex(o.PixelFormat);
  f.ColorSpace->SetItemIndex(o.ColorSpace);
  f.Performance->SetItemIndex(o.Performance);
  f.ProgressiveDisplay->SetChecked(o.Progressive);
  Pick(kProgressive);
  TJPEGImage* jpeg = ShownJpeg();
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(jpeg->Scale(), o.WantScale);
  EXPECT_EQ(jpeg->PixelFormat(), o.WantPixelFormat);
  EXPECT_EQ(jpeg->GreyOutput(), o.WantGrey);
  EXPECT_EQ(jpeg->Performance(), o.WantPerformance);
  EXPECT_EQ(jpeg->ProgressiveDisplay(), o.Progressive);
}

using S = TJPEGScale;
using P = TJPEGPixelFormat;
using Q = TJPEGPerformance;
INSTANTIATE_TEST_SUITE_P(
    Lines, OptionTableTest,
    testing::Values(OptionLines{0, 0, 0, 0, false, S::jsFullSize, P::jf24Bit, false, Q::jpBestQuality},
                    OptionLines{1, 1, 1, 1, true, S::jsHalf, P::jf8Bit, true, Q::jpBestSpeed},
                    OptionLines{2, 0, 1, 0, false, S::jsQuarter, P::jf24Bit, true, Q::jpBestQuality},
                    OptionLines{3, 1, 0, 1, true, S::jsEighth, P::jf8Bit, false, Q::jpBestSpeed},
                    // A box without a selection (a stored value outside its list) leaves the
                    // picture's own setting as it is.
                    OptionLines{-1, -1, -1, -1, false, S::jsFullSize, P::jf24Bit, false, Q::jpBestQuality}));

TEST_F(ViewerTest, AnEmptyComboBoxLeavesTheSettingThePictureAlreadyHas) {
  TForm1& f = Start();
  Pick(kBaseline);
  f.Scale->SelectByUser(3);
  ASSERT_EQ(ShownJpeg()->Scale(), TJPEGScale::jsEighth);
  f.Scale->SetItemIndex(-1);
  f.SetJPEGOptions(&f);
  EXPECT_EQ(ShownJpeg()->Scale(), TJPEGScale::jsEighth);
  ExpectControls(kBaselineJpeg);
}

TEST_F(ViewerTest, ChangingTheScaleDecodesAgainAtHalfSizeAndPickingTheSameLineDoesNothing) {
  TForm1& f = Start();
  Pick(kBaseline);
  Paint();
  ASSERT_NE(ShownJpeg()->DecodedBitmap(), nullptr);
  EXPECT_EQ(ShownJpeg()->DecodedBitmap()->Width(), 227);
  const int cycles = f.Image1->PaintCycles();

  f.Scale->SelectByUser(1);
  EXPECT_EQ(ShownJpeg()->DecodedBitmap(), nullptr) << "the old decoding is dropped";
  EXPECT_TRUE(f.Image1->PaintScheduled());
  Paint();
  ASSERT_NE(ShownJpeg()->DecodedBitmap(), nullptr);
  EXPECT_EQ(ShownJpeg()->DecodedBitmap()->Width(), 114);
  EXPECT_EQ(ShownJpeg()->DecodedBitmap()->Height(), 75);
  EXPECT_EQ(f.Image1->PaintCycles(), cycles + 1);

  const TBitmap* decoded = ShownJpeg()->DecodedBitmap();
  f.Scale->SelectByUser(1);
  EXPECT_FALSE(f.Image1->PaintScheduled());
  EXPECT_EQ(ShownJpeg()->DecodedBitmap(), decoded);
}

TEST_F(ViewerTest, TogglingPassByPassDisplayRedrawsNothingAndAppliesAtTheNextDecoding) {
  TForm1& f = Start();
  Pick(kProgressive);
  Paint();
  const TBitmap* decoded = ShownJpeg()->DecodedBitmap();
  ASSERT_NE(decoded, nullptr);

  f.ProgressiveDisplay->HandleToggled(true);
  EXPECT_TRUE(ShownJpeg()->ProgressiveDisplay());
  EXPECT_FALSE(f.Image1->PaintScheduled());
  EXPECT_EQ(ShownJpeg()->DecodedBitmap(), decoded);
}

TEST_F(ViewerTest, IncrementalDisplayFollowsItsBoxOnlyAtTheNextLoadOrOptionChange) {
  TForm1& f = Start();
  f.IncrementalDisplay->HandleToggled(true);
  EXPECT_FALSE(f.Image1->IncrementalDisplay());
  Pick(kBitmap);
  EXPECT_TRUE(f.Image1->IncrementalDisplay()) << "whatever the kind of picture";
  f.IncrementalDisplay->HandleToggled(false);
  EXPECT_TRUE(f.Image1->IncrementalDisplay());
  Pick(kBaseline);
  EXPECT_FALSE(f.Image1->IncrementalDisplay());
}

TEST_F(ViewerTest, AFileThatIsNotWhatItsExtensionSaysEmptiesTheViewWithoutAMessage) {
  Start();
  Pick(kBaseline);
  ASSERT_NE(Shown(), nullptr);
  Pick(kFake);
  EXPECT_EQ(Shown(), nullptr);
  ExpectControls(kAllOff);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ViewerTest, NoSelectionTakesTheUnknownExtensionRoadAndEmptiesTheView) {
  TForm1& f = Start();
  Pick(kBitmap);
  ASSERT_NE(Shown(), nullptr);
  f.FileListBox1->SetItemIndex(-1);
  ASSERT_EQ(f.FileListBox1->FileName(), "");
  f.FileListBox1DblClick(f.FileListBox1);
  EXPECT_EQ(Shown(), nullptr);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ViewerTest, AFileDeletedAfterListingIsReportedAndThePreviousPictureStays) {
  TForm1& f = Start();
  Pick(kBaseline);
  TGraphic* before = Shown();
  ASSERT_NE(before, nullptr);
  fs::remove(Folder() / kDoomed);

  // The pick arrives from the toolkit, whose calls into the program end in the
  // application's box.
  SafeCall([&] { Pick(kDoomed); });
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Kind, TMessageKind::Critical);
  EXPECT_EQ(messages_[0].Caption, "Mirelune");
  EXPECT_EQ(messages_[0].Text, "Impossible d'ouvrir le fichier " + PathOf(kDoomed) + ".");
  EXPECT_EQ(Shown(), before);
  ExpectControls(kBaselineJpeg);
  EXPECT_EQ(f.FileListBox1->FileName(), PathOf(kDoomed));
  MakeViewerFolder(Folder());
}

// ---- the start-up road ----

TEST_F(ViewerTest, StartUpLoadsTheArgumentAndEmptiesTheStartupName) {
  Start({PathOf(kProgressive)});
  ASSERT_NE(ShownJpeg(), nullptr);
  ExpectControls(kProgressiveJpeg);
  EXPECT_EQ(StartupFileName, "");
  EXPECT_TRUE(form_->DirectoryListBox1->Focused());
}

TEST_F(ViewerTest, StartUpWithOnlyBlanksLoadsNothingAndKeepsTheName) {
  Start({"   "});
  EXPECT_EQ(Shown(), nullptr);
  ExpectControls(kAllOff);
  EXPECT_EQ(StartupFileName, "   ");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ViewerTest, StartUpWithABlankAfterTheExtensionKeepsItSoTheViewStaysEmpty) {
  Start({PathOf(kBaseline) + " "});
  EXPECT_EQ(Shown(), nullptr);
  ExpectControls(kAllOff);
  EXPECT_EQ(StartupFileName, "");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ViewerTest, StartUpWithAMissingFileReportsItAndKeepsTheName) {
  const std::string missing = PathOf("absent.jpg");
  Start({missing});
  EXPECT_EQ(Shown(), nullptr);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Text, "Impossible d'ouvrir le fichier " + missing + ".");
  EXPECT_EQ(StartupFileName, missing);
  EXPECT_TRUE(form_->Visible()) << "the window shows all the same";
}

// ---- the title during decoding ----

// Records the caption after each progress report has been handled.
class TitleRecorder {
 public:
  explicit TitleRecorder(TForm1& f) : form_(f), handler_(f.Image1->OnProgress) {
    f.Image1->OnProgress = [this](TObject* s, TProgressStage st, uint8_t p, bool r, const TRect& rc,
                                  const std::string& m) {
      handler_(s, st, p, r, rc, m);
      Titles.push_back(form_.Caption());
    };
  }
  ~TitleRecorder() { form_.Image1->OnProgress = handler_; }
  std::vector<std::string> Titles;

 private:
  TForm1& form_;
  TProgressEvent handler_;
};

int PercentOf(const std::string& title) {
  if (title.size() < 2 || title.back() != '%') return -1;
  return std::atoi(title.c_str());
}

TEST_F(ViewerTest, ASlowDecodingShowsRisingPercentagesBetweenTwoPlainTitles) {
  // A clock that moves 600 ms at each look makes every progress check due.
  uint32_t now = 1000;
  rtl::SetTickCountSource([&now] { return now += 600; });
  TForm1& f = Start();
  TitleRecorder recorder(f);
  Pick(kLarge);
  f.Scale->SelectByUser(2);  // a quarter: quicker, the same reports
  Paint();
  const auto& titles = recorder.Titles;
  ASSERT_GE(titles.size(), 4u);
  EXPECT_EQ(titles.front(), "Mirelune");
  EXPECT_EQ(titles.back(), "Mirelune");
  int last = -1;
  for (size_t i = 1; i + 1 < titles.size(); ++i) {
    const int percent = PercentOf(titles[i]);
    ASSERT_GE(percent, 0) << titles[i];
    EXPECT_GT(percent, last) << "a one-scan picture only goes up";
    last = percent;
  }
  EXPECT_EQ(f.Caption(), "Mirelune");
}

TEST_F(ViewerTest, AFailedDecodingEndsOnThePlainTitle) {
  TForm1& f = Start();
  Pick(kUndecodable);
  ASSERT_NE(ShownJpeg(), nullptr);
  f.SetCaption("42%");
  TitleRecorder recorder(f);
  SafeCall([&] { Paint(); });  // the paint's failure ends in the application's box
  ASSERT_FALSE(recorder.Titles.empty());
  EXPECT_EQ(recorder.Titles.back(), "Mirelune");
  EXPECT_EQ(f.Caption(), "Mirelune");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].Caption, "Mirelune");
}

TEST_F(ViewerTest, ABitmapLeavesTheTitleAlone) {
  TForm1& f = Start();
  f.SetCaption("7%");
  TitleRecorder recorder(f);
  Pick(kBitmap);
  Paint();
  EXPECT_TRUE(recorder.Titles.empty());
  EXPECT_EQ(f.Caption(), "7%");
}

struct ReportCase {
  TProgressStage Stage;
  int Percent;
  const char* Title;
};

class ProgressTitleTest : public ViewerTest, public testing::WithParamInterface<ReportCase> {};

TEST_P(ProgressTitleTest, TheTitleShowsTheBarePercentageOnlyWhileRunning) {
  TForm1& f = Start();
  f.SetCaption("x");
  f.ProgressUpdate(nullptr, GetParam().Stage, static_cast<uint8_t>(GetParam().Percent), true, Rect(0, 0, 1, 1), "");
  EXPECT_EQ(f.Caption(), GetParam().Title);
}

INSTANTIATE_TEST_SUITE_P(Reports, ProgressTitleTest,
                         testing::Values(ReportCase{TProgressStage::Running, 0, "0%"},
                                         ReportCase{TProgressStage::Running, 37, "37%"},
                                         ReportCase{TProgressStage::Running, 100, "100%"},
                                         ReportCase{TProgressStage::Starting, 0, "Mirelune"},
                                         ReportCase{TProgressStage::Ending, 100, "Mirelune"}));

// ---- the toolbar ----

TEST_F(ViewerTest, PreviousOnTheFirstFileKeepsItAndLeavesTheFocusOnTheList) {
  TForm1& f = Start();
  Pick(kBaseline);
  TGraphic* before = Shown();
  f.Button1->SetFocus();
  f.Button1->Click();
  EXPECT_EQ(f.FileListBox1->ItemIndex(), 0);
  EXPECT_EQ(Shown(), before);
  EXPECT_TRUE(f.FileListBox1->Focused());
}

TEST_F(ViewerTest, NextInTheMiddleShowsTheNextFileAndTheListKeepsTheFocus) {
  TForm1& f = Start();
  Pick(kProgressive);
  f.Button2->SetFocus();
  f.Button2->Click();
  EXPECT_EQ(f.FileListBox1->Items()[f.FileListBox1->ItemIndex()], kBitmap);
  EXPECT_NE(dynamic_cast<TBitmap*>(Shown()), nullptr);
  EXPECT_TRUE(f.FileListBox1->Focused());
  // A further down-arrow goes on through the list.
  f.Button2->Click();
  EXPECT_EQ(f.FileListBox1->Items()[f.FileListBox1->ItemIndex()], kFake);
  EXPECT_EQ(Shown(), nullptr);
}

TEST_F(ViewerTest, HelpWithoutAFileBesideTheProgramGivesItsPathAndIntrouvable) {
  TForm1& f = Start();
  win::SetModuleFileNameForTesting((Folder() / "bin" / "mirelune").string());
  f.Button3->Click();
  uint16_t key = VK_F1;
  f.FormKeyDown(&f, key, ssCtrl);
  EXPECT_EQ(key, VK_F1) << "the key is not consumed";
  ASSERT_EQ(messages_.size(), 2u);
  for (const Message& m : messages_) {
    EXPECT_EQ(m.Kind, TMessageKind::Plain);
    EXPECT_EQ(m.Caption, "Mirelune");
    EXPECT_EQ(m.Text, (Folder() / "bin" / "mirelune.chm").string() + " introuvable.");
  }
}

TEST_F(ViewerTest, HelpThatNoProgramOpensGivesImpossibleDAfficher) {
  TForm1& f = Start();
  // A help file that exists, but a desktop without any program for it.
  const fs::path bin = Folder() / "bin";
  fs::create_directories(bin / "mirelune.chm.d");
  std::ofstream(bin / "viewer.chm") << "ITSF";
  const char* dataDirs = std::getenv("XDG_DATA_DIRS");
  const std::string savedDirs = dataDirs ? dataDirs : "";
  setenv("XDG_DATA_DIRS", (root_ / "no-applications").c_str(), 1);
  setenv("XDG_DATA_HOME", (root_ / "no-applications").c_str(), 1);
  win::SetModuleFileNameForTesting((bin / "viewer.bin").string());
  uint16_t key = VK_F1;
  f.FormKeyDown(&f, key, ssShift);
  // A folder named like the help file does not count.
  win::SetModuleFileNameForTesting((bin / "mirelune.chm.d").string());
  f.Button3->Click();
  if (dataDirs) setenv("XDG_DATA_DIRS", savedDirs.c_str(), 1); else unsetenv("XDG_DATA_DIRS");
  unsetenv("XDG_DATA_HOME");
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].Kind, TMessageKind::Plain);
  EXPECT_EQ(messages_[0].Text, "Impossible d'afficher le fichier " + (bin / "viewer.chm").string());
  EXPECT_EQ(messages_[1].Text, (bin / "mirelune.chm.chm").string() + " introuvable.");
}

TEST_F(ViewerTest, OtherKeysLeaveTheHelpAlone) {
  TForm1& f = Start();
  for (uint16_t key : {uint16_t(VK_F12), uint16_t(VK_RETURN), uint16_t('P')}) f.FormKeyDown(&f, key, 0);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(ViewerTest, TheAboutButtonShowsTheAboutBoxModally) {
  TForm1& f = Start();
  bool shownModally = false;
  QTimer::singleShot(0, [&] {
    shownModally = Form2->Visible() && Form2->Modal();
    Form2->Button1->Click();
  });
  f.Button4->Click();
  EXPECT_TRUE(shownModally);
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(ViewerTest, QuitClosesTheWindowAndEndsTheProgram) {
  TForm1& f = Start();
  f.Button5->Click();
  EXPECT_FALSE(f.Visible());
  EXPECT_TRUE(Application->Terminated());
}

}  // namespace
